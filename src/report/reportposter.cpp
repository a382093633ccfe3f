#include "report/reportposter.h"

#include "entry/logging.h"
#include "entry/waits.h"

#include "framework.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

ReportPoster::ReportPoster(QObject* parent)
    : QObject(parent)
{
}

void ReportPoster::post(const QUrl& url, const QByteArray& body)
{
    QNetworkAccessManager* manager = Framework::networkAccessManager();
    if (!manager) {
        UninstallLog::debug(QStringLiteral("HTTP POST request failed: no network access"));
        emit finished(body, false);
        return;
    }
    if (QNetworkReply* pending = m_pending.value(body))
        pending->abort();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(Waits::scaled(Waits::kReportTransferMs));
    QNetworkReply* reply = manager->post(request, body);
    reply->ignoreSslErrors();
    m_pending.insert(body, reply);
    connect(reply, &QNetworkReply::finished, this,
        [this, reply, body] { onReplyFinished(reply, body); });
}

void ReportPoster::onReplyFinished(QNetworkReply* reply, const QByteArray& body)
{
    if (m_pending.value(body) == reply)
        m_pending.remove(body);
    const bool delivered = reply->error() == QNetworkReply::NoError;
    if (delivered) {
        UninstallLog::debug(QStringLiteral("HTTP POST request successful and Response: ")
            + QString::fromUtf8(reply->readAll()));
    } else {
        UninstallLog::debug(QStringLiteral("HTTP POST request failed: ") + reply->errorString());
    }
    reply->deleteLater();
    emit finished(body, delivered);
}
