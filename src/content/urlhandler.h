#pragma once

#include "content/downloaditem.h"
#include "content/recapp.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>

class QNetworkAccessManager;
class QNetworkReply;
class QThread;

// Fetches the content documents that the service configuration names and downloads the
// pictures, one at a time, into the download directory. Lives on a worker thread of its own and
// reports only through its signals.
class UrlHandler : public QObject {
    Q_OBJECT
public:
    UrlHandler(const QString& version, const QList<DownloadItem>& downloads,
        const QString& recAppUrl, const QString& choseUrl, const QString& causeUrl,
        QObject* parent = nullptr);
    ~UrlHandler() override;

    // Every request is given up after this long and handled as that request's failure.
    static constexpr int kRequestTimeoutMs = 10000;
    void setRequestTimeout(int milliseconds) { m_requestTimeoutMs = milliseconds; }
    // Moves the worker to `thread`, which starts the document requests when it starts and
    // deletes the worker when it finishes.
    void runOn(QThread* thread);

    // The folder that the pictures are written to, with a trailing slash.
    static QString downloadDirectory();

signals:
    void LoadResError();
    void recAppEmit(QVector<RecApp> apps);
    void uninstallCauseEmit(
        bool causeCheck, QVector<QString> keys, QMap<QString, QString> texts, QString users);
    void downLoadResEmit();

public slots:
    void imageDownload();
    void recAppHandelThreadFunction();
    void choseHandelThreadFunction();
    void causeHandelThreadFunction();
    void downloadFinished();
    void recAppReplyFinished();
    void replyFinished();

private:
    QNetworkReply* get(const QString& address, void (UrlHandler::*onFinished)());
    QNetworkAccessManager* manager();
    void parseJson();
    // Stores a document's body and interprets it, under the worker's lock.
    void parseBody(QNetworkReply* reply);
    void failDocument(QNetworkReply* reply, const QString& noReplyMessage);
    void savePicture(const QByteArray& data);

    // Created in the worker thread on first use: a manager serves only the thread it lives in.
    QNetworkAccessManager* m_manager = nullptr;
    QMutex m_mutex;
    QString m_language;
    QByteArray m_document;
    QList<DownloadItem> m_downloadList;
    QString m_currentFileName;
    QString m_recAppUrl;
    QString m_choseUrl;
    QString m_causeUrl;
    QString m_version;
    bool m_causeCheck = false;
    QString m_users;
    QVector<QString> m_causeKeys;
    QVector<RecApp> m_recApps;
    QMap<QString, QString> m_causeTexts;
    int m_requestTimeoutMs = kRequestTimeoutMs;
};
