#include "report/feedbackreports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString makeReportTid(const QDateTime& when)
{
    return when.toString(QStringLiteral("MMddyyyyhhmmss"));
}

QByteArray buildFirstReport(const FirstReport& report)
{
    QJsonArray causes;
    for (const auto& cause : report.causes)
        causes.append(QJsonObject { { cause.first, cause.second } });
    causes.append(report.note);

    const QJsonObject document {
        { QStringLiteral("tid"), makeReportTid(report.when) },
        { QStringLiteral("userId"), report.userId },
        { QStringLiteral("language"), report.language },
        { QStringLiteral("time"), report.when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) },
        { QStringLiteral("productName"), report.productName },
        { QStringLiteral("brand"), report.brand },
        { QStringLiteral("productId"), report.productId },
        { QStringLiteral("productVersion"), report.productVersion },
        { QStringLiteral("uninstallCause"), causes },
    };
    // QJsonObject keeps its members sorted by key.
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

QByteArray buildSecondReport(const QString& tid, const QString& userId, const QString& email)
{
    const QJsonObject document {
        { QStringLiteral("tid"), tid },
        { QStringLiteral("userId"), userId },
        { QStringLiteral("userEmail"), email },
    };
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}
