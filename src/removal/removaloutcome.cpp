#include "removal/removaloutcome.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

QString Leftover::reasonText(Reason reason)
{
    switch (reason) {
    case InUse:
        return QStringLiteral("in use");
    case Permission:
        return QStringLiteral("permission");
    case MountPoint:
        return QStringLiteral("mount point");
    case SetupTool:
        return QStringLiteral("setup tool");
    case RefusedRoot:
        return QStringLiteral("refused root");
    case NotEmpty:
        return QStringLiteral("not empty");
    case Hidden:
        return QStringLiteral("hidden");
    case Changed:
        return QStringLiteral("changed during removal");
    case Failed:
        break;
    }
    return QStringLiteral("error");
}

bool RemovalOutcome::failed() const
{
    return refused() || !failure.isEmpty()
        || (attempted > 0 && removedFiles + removedDirectories == 0);
}

int RemovalOutcome::leftBehind() const
{
    int count = 0;
    for (const Leftover& leftover : leftovers)
        count += leftover.reason == Leftover::SetupTool ? 0 : 1;
    return count;
}

QJsonObject RemovalOutcome::toJson() const
{
    QJsonArray entries;
    for (const Leftover& leftover : leftovers)
        entries.append(
            QJsonObject { { QStringLiteral("path"), QDir::toNativeSeparators(leftover.path) },
                { QStringLiteral("reason"), Leftover::reasonText(leftover.reason) } });
    QJsonObject json { { QStringLiteral("root"), QDir::toNativeSeparators(root) },
        { QStringLiteral("removed"),
            QJsonObject { { QStringLiteral("files"), removedFiles },
                { QStringLiteral("directories"), removedDirectories } } },
        { QStringLiteral("leftovers"), entries } };
    if (refused())
        json.insert(QStringLiteral("refused"), decision.detail);
    else if (!failure.isEmpty())
        json.insert(QStringLiteral("failed"), failure);
    return json;
}

QString RemovalOutcome::summary() const
{
    QString line = QStringLiteral("FileDeletionThread removed %1 files and %2 directories of %3, "
                                  "%4 entries left behind")
                       .arg(removedFiles)
                       .arg(removedDirectories)
                       .arg(QDir::toNativeSeparators(root))
                       .arg(leftovers.size());
    if (failed())
        line += QStringLiteral("; the removal failed");
    if (!listPath.isEmpty())
        line += QStringLiteral(", listed in ") + QDir::toNativeSeparators(listPath);
    return line;
}

bool RemovalOutcome::writeList(const QString& folder)
{
    listPath.clear();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    // Written aside and renamed into place: a link waiting under that name is replaced, never
    // written through.
    QSaveFile file(folder + QStringLiteral("/leftovers.json"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(toJson()).toJson());
    if (!file.commit())
        return false;
    listPath = file.fileName();
    return true;
}
