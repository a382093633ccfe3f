#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

// What the sample product's reports must look like, written out by hand so that a change in
// how the documents are made shows up as a difference here.
namespace ReportExpectations {

// The first report of the sample product ("Tern Converter" 3.2.0, brand "tern", id 1024)
// in English, with the report id and time taken from the posted body itself.
inline QByteArray firstReport(
    const QByteArray& posted, const QByteArray& causes, const QString& userId)
{
    const QJsonObject object = QJsonDocument::fromJson(posted).object();
    return R"({"brand":"tern","language":"en","productId":"1024","productName":"Tern Converter",)"
           R"("productVersion":"3.2.0","tid":")"
        + object.value(QStringLiteral("tid")).toString().toUtf8() + R"(","time":")"
        + object.value(QStringLiteral("time")).toString().toUtf8() + R"(","uninstallCause":)"
        + causes + R"(,"userId":")" + userId.toUtf8() + R"("})";
}

inline QByteArray secondReport(const QString& tid, const QString& email, const QString& userId)
{
    return R"({"tid":")" + tid.toUtf8() + R"(","userEmail":")" + email.toUtf8() + R"(","userId":")"
        + userId.toUtf8() + R"("})";
}

inline QString reportId(const QByteArray& posted)
{
    return QJsonDocument::fromJson(posted).object().value(QStringLiteral("tid")).toString();
}

// The instant a first report was made, as its id and its time field both tell; invalid when
// they disagree.
inline QDateTime reportTime(const QByteArray& posted)
{
    const QJsonObject object = QJsonDocument::fromJson(posted).object();
    const QDateTime byId = QDateTime::fromString(
        object.value(QStringLiteral("tid")).toString(), QStringLiteral("MMddyyyyhhmmss"));
    const QDateTime byTime = QDateTime::fromString(
        object.value(QStringLiteral("time")).toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return byId == byTime ? byId : QDateTime();
}

} // namespace ReportExpectations
