#include "ternga.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

TERNGA* TERNGA::instance()
{
    static TERNGA analytics;
    return &analytics;
}

QString TERNGA::eventFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation)
        + QStringLiteral("/analytics.jsonl");
}

void TERNGA::CEIP(
    const QString& category, const QString& action, EventType type, const QString& label, int value)
{
    const QString path = eventFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QJsonObject event {
        { QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs) },
        { QStringLiteral("category"), category },
        { QStringLiteral("action"), action },
        { QStringLiteral("type"), int(type) },
        { QStringLiteral("label"), label },
        { QStringLiteral("value"), value },
    };
    file.write(QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n');
}
