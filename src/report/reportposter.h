#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QNetworkReply;

// Posts report documents to the feedback service on the host's shared network manager and
// tells, per post, whether the service took it.
class ReportPoster : public QObject {
    Q_OBJECT
public:
    explicit ReportPoster(QObject* parent = nullptr);

    void post(const QUrl& url, const QByteArray& body);

signals:
    void finished(const QByteArray& body, bool delivered);

private:
    void onReplyFinished(QNetworkReply* reply, const QByteArray& body);
};
