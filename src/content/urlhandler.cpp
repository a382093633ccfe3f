#include "content/urlhandler.h"

#include "content/contentdocuments.h"
#include "content/contentfetch.h"
#include "content/picturequeue.h"
#include "entry/logging.h"
#include "entry/waits.h"

#include "ternproductinfo.h"
#include "ternsettings.h"

#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

const QString kVersionKey = QStringLiteral("uninstall_version");

} // namespace

UrlHandler::UrlHandler(const QString& version, const QList<DownloadItem>& downloads,
    const QString& recAppUrl, const QString& choseUrl, const QString& causeUrl, QObject* parent)
    : QObject(parent)
    , m_language(TernSettings::instance()->language(TernProductInfo::instance()->defaultLanguage()))
    , m_defaultLanguage(TernProductInfo::instance()->defaultLanguage())
    , m_pictures(new PictureQueue(downloadDirectory(), this))
    , m_recAppUrl(recAppUrl)
    , m_choseUrl(choseUrl)
    , m_causeUrl(causeUrl)
    , m_version(version)
{
    registerContentMetaTypes();
    for (const DownloadItem& item : downloads)
        m_pictures->append(item);
    connect(m_pictures, &PictureQueue::finished, this, &UrlHandler::downLoadResEmit);
}

UrlHandler::~UrlHandler() = default;

QString UrlHandler::downloadDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation)
        + QStringLiteral("/uninstallRes/");
}

QNetworkAccessManager* UrlHandler::manager()
{
    if (!m_manager)
        m_manager = new QNetworkAccessManager(this);
    return m_manager;
}

void UrlHandler::get(const QString& address, void (UrlHandler::*onFinished)())
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!ContentFetch::isAllowed(url, ContentFetch::Transport::Web)) {
        UninstallLog::error(QStringLiteral("refused document address: ") + address);
        failDocument();
        return;
    }
    QNetworkReply* reply = ContentFetch::get(manager(), url, ContentFetch::kMaxDocumentBytes);
    reply->ignoreSslErrors();
    connect(reply, &QNetworkReply::finished, this, onFinished, Qt::QueuedConnection);

    // Without a deadline one silent server would hold the wizard on its loading page.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    const int waitMs = Waits::scaled(Waits::kConfigurationMs);
    connect(deadline, &QTimer::timeout, reply, [reply, url, waitMs] {
        UninstallLog::error(
            QStringLiteral("request timed out after %1 ms: ").arg(waitMs) + url.toDisplayString());
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(waitMs);
}

void UrlHandler::recAppHandelThreadFunction()
{
    get(m_recAppUrl, &UrlHandler::recAppReplyFinished);
}

void UrlHandler::choseHandelThreadFunction()
{
    get(m_choseUrl, &UrlHandler::replyFinished);
}

void UrlHandler::causeHandelThreadFunction()
{
    get(m_causeUrl, &UrlHandler::replyFinished);
}

void UrlHandler::failDocument()
{
    UninstallLog::debug(QStringLiteral("load default res!"));
    emit LoadResError();
}

QByteArray UrlHandler::takeBody(QNetworkReply* reply, const QString& noReplyMessage)
{
    if (!reply) {
        UninstallLog::error(noReplyMessage);
        return {};
    }
    reply->deleteLater();
    // An aborted reply is closed: there is nothing to read.
    QByteArray body = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    const QString failure
        = ContentFetch::failureOf(reply, body.size(), ContentFetch::kMaxDocumentBytes);
    if (!failure.isEmpty()) {
        UninstallLog::error(failure);
        return {};
    }
    return body;
}

void UrlHandler::recAppReplyFinished()
{
    const QByteArray body = takeBody(
        qobject_cast<QNetworkReply*>(sender()), QStringLiteral("m_recAppReply is nullptr"));
    if (body.isNull()) {
        // No picture is fetched in a run without applications.
        if (!m_pictures->isFinished())
            m_pictures->drop();
        failDocument();
        return;
    }
    UninstallLog::debug(QStringLiteral("start parse recJson!"));
    if (!parseBody(body))
        failDocument();

    // Late applications still reach the window, which shows them with the pictures it has.
    if (m_pictures->isFinished()) {
        emit downLoadResEmit();
        return;
    }
    // The pictures of a version are fetched once; a later run with the same version reuses them.
    TernSettings* settings = TernSettings::instance();
    const QString stored = settings->value(kVersionKey, QString()).toString();
    if (!stored.isEmpty() && stored == m_version) {
        m_pictures->drop();
        emit downLoadResEmit();
        return;
    }
    imageDownload();
    settings->setValue(kVersionKey, QVariant(m_version));
}

void UrlHandler::replyFinished()
{
    const QByteArray body
        = takeBody(qobject_cast<QNetworkReply*>(sender()), QStringLiteral("reply is nullptr"));
    if (body.isNull()) {
        failDocument();
        return;
    }
    UninstallLog::debug(QStringLiteral("start parse json!"));
    if (!parseBody(body))
        failDocument();
}

bool UrlHandler::parseBody(const QByteArray& body)
{
    QMutexLocker lock(&m_mutex);
    m_document = body;
    return parseJson();
}

void UrlHandler::runOn(QThread* thread)
{
    moveToThread(thread);
    connect(thread, &QThread::started, this, &UrlHandler::recAppHandelThreadFunction,
        Qt::QueuedConnection);
    connect(thread, &QThread::started, this, &UrlHandler::choseHandelThreadFunction,
        Qt::QueuedConnection);
    connect(
        thread, &QThread::started, m_pictures,
        [this] { m_pictures->startDeadline(Waits::scaled(Waits::kConfigurationMs)); },
        Qt::QueuedConnection);
    connect(thread, &QThread::finished, this, &QObject::deleteLater);
}

bool UrlHandler::parseJson()
{
    using namespace ContentDocuments;
    const Document document = readDocument(m_document, { m_language, m_defaultLanguage });
    if (!document.parseFailure.isEmpty()) {
        UninstallLog::error(document.parseFailure);
        return false;
    }
    const bool usable = document.usable();
    if (usable) {
        switch (document.kind) {
        case Kind::RecommendedApps:
            for (const RecommendedApp& app : document.apps) {
                m_pictures->append({ QUrl(app.picUrl, QUrl::TolerantMode), app.app.icon });
                m_recApps.append(app.app);
            }
            emit recAppEmit(m_recApps);
            break;
        case Kind::CauseChoice:
            m_causeCheck = document.choice.causeCheck;
            m_users = document.choice.users;
            m_causeKeys += document.choice.keys;
            // The texts are asked for only now, so that they always follow the keys.
            causeHandelThreadFunction();
            break;
        case Kind::CauseTexts:
            m_causeTexts.insert(document.texts);
            emit uninstallCauseEmit(m_causeCheck, m_causeKeys, m_causeTexts, m_users);
            break;
        case Kind::None:
            break;
        }
    } else {
        UninstallLog::error(QStringLiteral("document without usable content"));
    }
    UninstallLog::debug(QStringLiteral("start parse Json ending!"));
    return usable;
}

void UrlHandler::imageDownload()
{
    m_pictures->start(manager());
}
