#include "entry/runresult.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

QString outcomeText(RunResult::Outcome outcome)
{
    switch (outcome) {
    case RunResult::Removed:
        return QStringLiteral("removed");
    case RunResult::Refused:
        return QStringLiteral("refused");
    case RunResult::Failed:
        return QStringLiteral("failed");
    case RunResult::ApplicationRunning:
        return QStringLiteral("application-running");
    case RunResult::Aborted:
        break;
    }
    return QStringLiteral("aborted");
}

} // namespace

RunResult::Outcome RunResult::outcomeOf(const RemovalOutcome& removal)
{
    if (removal.refused())
        return Refused;
    return removal.failed() ? Failed : Removed;
}

QJsonObject RunResult::toJson() const
{
    QJsonObject json { { QStringLiteral("outcome"), outcomeText(outcome) },
        { QStringLiteral("files"), removal.removedFiles },
        { QStringLiteral("directories"), removal.removedDirectories },
        { QStringLiteral("leftBehind"), removal.leftBehind() },
        { QStringLiteral("leftovers"), removal.toJson().value(QStringLiteral("leftovers")) },
        { QStringLiteral("durationSeconds"), durationMs / 1000.0 } };
    const QString why = outcome == Refused ? removal.decision.detail : detail;
    if (!why.isEmpty())
        json.insert(QStringLiteral("detail"), why);
    return json;
}

bool RunResult::write(const QString& path) const
{
    QSaveFile file(QFileInfo(path).absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(toJson()).toJson());
    return file.commit();
}
