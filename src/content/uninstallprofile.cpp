#include "content/uninstallprofile.h"

#include "content/contentdocuments.h"
#include "content/localfiles.h"
#include "content/updaterdownload.h"
#include "content/updaterlocation.h"
#include "content/urlhandler.h"
#include "entry/logging.h"
#include "entry/waits.h"

#include "framework.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

UninstallProfile::UninstallProfile(QObject* parent)
    : QObject(parent)
{
    registerContentMetaTypes();
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(Waits::scaled(Waits::kConfigurationMs));

    TernProductInfo* product = TernProductInfo::instance();
    m_language = TernSettings::instance()->language(product->defaultLanguage());

    m_manager = Framework::networkAccessManager();
    if (m_manager) {
        const QUrl url(product->extendParam(QStringLiteral("uninstallConfigURL"), QString()),
            QUrl::TolerantMode);
        m_pServiceReply = m_manager->get(QNetworkRequest(url));
        m_pServiceReply->ignoreSslErrors();
        connect(m_pServiceReply, &QNetworkReply::finished, this,
            &UninstallProfile::onReplaryFinished, Qt::QueuedConnection);
        downloadUpdater();
    }
    connect(m_timer, &QTimer::timeout, this, &UninstallProfile::readConfigTimeout);
    m_timer->start();
}

UninstallProfile::~UninstallProfile()
{
    if (m_thread) {
        // The worker is deleted in its own thread once the loop has ended (finished ->
        // deleteLater); whatever is left after the join is no longer used by anyone.
        m_thread->quit();
        m_thread->wait();
        delete m_worker.data();
        delete m_thread;
    }
    if (m_pServiceReply) {
        disconnect(m_pServiceReply, nullptr, this, nullptr);
        m_pServiceReply->abort();
        delete m_pServiceReply;
    }
}

void UninstallProfile::onReplaryFinished()
{
    if (m_timedOut) {
        // The defaults went out at the time-out; the aborted or late answer is not used.
        if (m_pServiceReply && sender() == m_pServiceReply) {
            m_pServiceReply->deleteLater();
            m_pServiceReply = nullptr;
        }
        return;
    }
    QNetworkReply* reply = m_pServiceReply;
    if (reply && sender() == reply && reply->error() == QNetworkReply::NoError) {
        m_timer->stop();
        m_serviceData = reply->readAll();
        m_pServiceReply = nullptr;
        reply->deleteLater();
        parseUninstallConfig();
        return;
    }
    if (!reply)
        UninstallLog::error(QStringLiteral("m_pServiceReply is nullptr"));
    else if (sender() != reply)
        UninstallLog::error(QStringLiteral("sender() != m_pServiceReply"));
    else
        UninstallLog::error(QStringLiteral("NetworkError error:") + reply->errorString());
    UninstallLog::debug(QStringLiteral("load default res!"));
    QTimer::singleShot(1, Qt::PreciseTimer, this, &UninstallProfile::loadDefaultRes);
}

void UninstallProfile::readConfigTimeout()
{
    m_timedOut = true;
    if (m_pServiceReply)
        m_pServiceReply->abort();
    UninstallLog::debug(QStringLiteral("readuninstallConfig faild!"));
    loadDefaultRes();
}

void UninstallProfile::loadDefaultRes()
{
    m_timer->stop();
    // Several failures may ask for the defaults (a time-out racing an error, two failing
    // documents); the window gets them once.
    if (m_defaultsLoaded)
        return;
    m_defaultsLoaded = true;

    // The cause texts are looked up under the keys of the cause choice: it goes first.
    const QString directory
        = TernResourceMgr::instance()->productResourceRoot() + QStringLiteral("/uninstallConfig");
    const QString names[] = { QStringLiteral("/recommendApp.json"),
        QStringLiteral("/uninstallChose.json"), QStringLiteral("/uninstallCause.json") };
    for (const QString& name : names) {
        QFile file(directory + name);
        // Opening a FIFO would block the window's thread.
        const bool regular = LocalFiles::isRegularFile(file.fileName());
        if (!regular || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            UninstallLog::error(QStringLiteral("Failed to open DefaultJsonFile file(") + name
                + QStringLiteral("): ")
                + (regular ? file.errorString() : QStringLiteral("not a regular file")));
            continue;
        }
        m_serviceData = file.readAll();
        parseDefaultJson();
        file.close();
    }
    emit downLoadResEmit();
}

void UninstallProfile::parseDefaultJson()
{
    using namespace ContentDocuments;
    const Document document = readDocument(
        m_serviceData, { m_language, TernProductInfo::instance()->defaultLanguage() });
    if (!document.parseFailure.isEmpty()) {
        UninstallLog::error(document.parseFailure);
        return;
    }
    switch (document.kind) {
    case Kind::RecommendedApps:
        // Applications the service delivered before it failed stay on the window.
        if (!m_remoteAppsDelivered)
            emit recAppEmit(recApps(document.apps));
        break;
    case Kind::CauseChoice:
        m_causeCheck = document.choice.causeCheck;
        m_users = document.choice.users;
        m_causeKeys += document.choice.keys;
        break;
    case Kind::CauseTexts:
        emit uninstallCauseEmit(
            m_causeCheck, m_causeKeys, textsForKeys(document.texts, m_causeKeys), m_users);
        break;
    case Kind::None:
        break;
    }
}

void UninstallProfile::parseUninstallConfig()
{
    QJsonDocument document;
    QString failure;
    if (!ContentDocuments::parseDocument(m_serviceData, &document, &failure)) {
        UninstallLog::error(failure);
        loadDefaultRes();
        return;
    }
    if (!document.isObject()) {
        UninstallLog::error(QStringLiteral("service configuration is not a JSON object"));
        loadDefaultRes();
        return;
    }
    const ContentDocuments::ServiceConfig config
        = ContentDocuments::serviceConfig(document.object());
    if (config.refusedVersionLength > 0) {
        UninstallLog::error(QStringLiteral("refused configuration version of %1 characters")
                                .arg(config.refusedVersionLength));
    }
    startWorker(config);
}

void UninstallProfile::startWorker(const ContentDocuments::ServiceConfig& config)
{
    m_thread = new QThread;
    auto* worker
        = new UrlHandler(config.version, ContentDocuments::offerPictures(config, m_language),
            config.recommendApp, config.uninstallChose, config.uninstallCause);
    m_worker = worker;
    worker->runOn(m_thread);

    // Every delivery counts: content that comes after a failure replaces the defaults.
    connect(worker, &UrlHandler::downLoadResEmit, this, &UninstallProfile::downLoadResEmit,
        Qt::QueuedConnection);
    connect(worker, &UrlHandler::LoadResError, this, &UninstallProfile::loadDefaultRes,
        Qt::QueuedConnection);
    connect(
        worker, &UrlHandler::recAppEmit, this,
        [this](const QVector<RecApp>& apps) {
            m_remoteAppsDelivered = true;
            emit recAppEmit(apps);
        },
        Qt::QueuedConnection);
    connect(worker, &UrlHandler::uninstallCauseEmit, this, &UninstallProfile::uninstallCauseEmit,
        Qt::QueuedConnection);

    m_thread->start(QThread::InheritPriority);
}

void UninstallProfile::downloadUpdater()
{
    const QString address
        = TernProductInfo::instance()->extendParam(QStringLiteral("updateAppUrl"), QString());
    if (address.isEmpty())
        return;
    auto* download = new UpdaterDownload(updaterPath(), this);
    download->start(m_manager, QUrl(address, QUrl::TolerantMode));
}
