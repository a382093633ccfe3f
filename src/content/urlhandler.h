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

class PictureQueue;
class QNetworkAccessManager;
class QNetworkReply;
class QThread;

// Fetches the content documents that the service configuration names and downloads the
// pictures into the download directory. Lives on a worker thread of its own and reports only
// through its signals. Each document has the configuration's wait to arrive, and the pictures
// together have as long from the moment the worker starts; whatever misses its wait is left to
// the defaults, so the window never waits longer than that for downLoadResEmit.
class UrlHandler : public QObject {
    Q_OBJECT
public:
    UrlHandler(const QString& version, const QList<DownloadItem>& downloads,
        const QString& recAppUrl, const QString& choseUrl, const QString& causeUrl,
        QObject* parent = nullptr);
    ~UrlHandler() override;

    // Moves the worker to `thread`, which starts the document requests and the pictures'
    // deadline when it starts, and deletes the worker when it finishes.
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
    void recAppReplyFinished();
    void replyFinished();

private:
    void get(const QString& address, void (UrlHandler::*onFinished)());
    QNetworkAccessManager* manager();
    // False when the document gives nothing the wizard can use.
    bool parseJson();
    // The body of a finished document request, or a null array after logging why there is
    // none; the reply is released either way.
    QByteArray takeBody(QNetworkReply* reply, const QString& noReplyMessage);
    // Interprets a document's body under the worker's lock; false when it is of no use.
    bool parseBody(const QByteArray& body);
    void failDocument();

    // Created in the worker thread on first use: a manager serves only the thread it lives in.
    QNetworkAccessManager* m_manager = nullptr;
    QMutex m_mutex;
    QString m_language;
    QString m_defaultLanguage;
    QByteArray m_document;
    PictureQueue* m_pictures = nullptr;
    QString m_recAppUrl;
    QString m_choseUrl;
    QString m_causeUrl;
    QString m_version;
    bool m_causeCheck = false;
    QString m_users;
    QVector<QString> m_causeKeys;
    QVector<RecApp> m_recApps;
    QMap<QString, QString> m_causeTexts;
};
