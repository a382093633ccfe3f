#pragma once

#include "content/recapp.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class QNetworkAccessManager;
class QNetworkReply;
class QThread;
class QTimer;
class UrlHandler;
namespace ContentDocuments {
struct ServiceConfig;
}

// Delivers the wizard's promotional and questionnaire content: from the remote service when it
// answers in time, otherwise from the default documents shipped with the product. Each source
// ends its delivery with downLoadResEmit; when the service fails part-way, the defaults come
// first and whatever the service still delivers follows, so downLoadResEmit may come again.
class UninstallProfile : public QObject {
    Q_OBJECT
public:
    explicit UninstallProfile(QObject* parent = nullptr);
    // Stops and joins the worker thread: no thread outlives the profile.
    ~UninstallProfile() override;

signals:
    void recAppEmit(QVector<RecApp> apps);
    void uninstallCauseEmit(
        bool causeCheck, QVector<QString> keys, QMap<QString, QString> texts, QString users);
    void downLoadResEmit();

private slots:
    void onReplaryFinished();
    void readConfigTimeout();

private:
    void loadDefaultRes();
    void parseUninstallConfig();
    void parseDefaultJson();
    void startWorker(const ContentDocuments::ServiceConfig& config);
    void downloadUpdater();

    // Shared with the rest of the process and owned by the host framework.
    QNetworkAccessManager* m_manager = nullptr;
    QPointer<QNetworkReply> m_pServiceReply;
    QTimer* m_timer = nullptr;
    QThread* m_thread = nullptr;
    QByteArray m_serviceData;
    QString m_language;
    bool m_causeCheck = false;
    QString m_users;
    QVector<QString> m_causeKeys;
    QPointer<UrlHandler> m_worker;

    bool m_timedOut = false;
    bool m_defaultsLoaded = false;
    bool m_remoteAppsDelivered = false;
};
