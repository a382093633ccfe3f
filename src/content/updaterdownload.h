#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QUrl;

// Downloads the updater, an executable that the wizard may start later, over https (or from
// the loopback interface). The body is written aside and renamed into place only once the whole
// of it has arrived with a success status, so that an error page, an empty answer or a broken
// download never replaces the updater of an earlier run; TLS certificates are checked.
class UpdaterDownload : public QObject {
    Q_OBJECT
public:
    explicit UpdaterDownload(const QString& targetPath, QObject* parent = nullptr);
    ~UpdaterDownload() override;

    void start(QNetworkAccessManager* manager, const QUrl& url);
    QString targetPath() const { return m_targetPath; }

signals:
    // saved: the complete updater is in place at targetPath().
    void finished(bool saved);

private:
    void onReadyRead();
    void onFinished();
    void writeAvailable(QNetworkReply* reply);
    void logWriteFailure();
    bool complete(QNetworkReply* reply) const;
    void fail(const QString& message);

    QString m_targetPath;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QSaveFile> m_file;
    qint64 m_received = 0;
    bool m_writeFailed = false;
};
