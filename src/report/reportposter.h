#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkReply;

// Posts report documents to the feedback service on the host's shared network manager and
// tells, per post, whether the service took it. A post that stays silent is given up before the
// next retry, and posting a body again first aborts its pending post: stuck connections would
// otherwise hold back the posts behind them.
class ReportPoster : public QObject {
    Q_OBJECT
public:
    explicit ReportPoster(QObject* parent = nullptr);

    void post(const QUrl& url, const QByteArray& body);

signals:
    void finished(const QByteArray& body, bool delivered);

private:
    void onReplyFinished(QNetworkReply* reply, const QByteArray& body);

    QHash<QByteArray, QPointer<QNetworkReply>> m_pending;
};
