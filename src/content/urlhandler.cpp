#include "content/urlhandler.h"

#include "content/contentdocuments.h"
#include "entry/logging.h"

#include "ternproductinfo.h"
#include "ternsettings.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
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
    , m_downloadList(downloads)
    , m_recAppUrl(recAppUrl)
    , m_choseUrl(choseUrl)
    , m_causeUrl(causeUrl)
    , m_version(version)
{
    registerContentMetaTypes();
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

QNetworkReply* UrlHandler::get(const QString& address, void (UrlHandler::*onFinished)())
{
    const QUrl url(address, QUrl::TolerantMode);
    QNetworkReply* reply = manager()->get(QNetworkRequest(url));
    reply->ignoreSslErrors();
    connect(reply, &QNetworkReply::finished, this, onFinished, Qt::QueuedConnection);

    // Without a deadline one silent server would hold the wizard on its loading page.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply, url, ms = m_requestTimeoutMs] {
        UninstallLog::error(
            QStringLiteral("request timed out after %1 ms: ").arg(ms) + url.toDisplayString());
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    deadline->start(m_requestTimeoutMs);
    return reply;
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

void UrlHandler::failDocument(QNetworkReply* reply, const QString& noReplyMessage)
{
    if (reply) {
        UninstallLog::error(QStringLiteral("NetworkError error:") + reply->errorString());
        reply->deleteLater();
    } else {
        UninstallLog::error(noReplyMessage);
    }
    UninstallLog::debug(QStringLiteral("load default res!"));
    emit LoadResError();
}

void UrlHandler::recAppReplyFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply->error() != QNetworkReply::NoError) {
        failDocument(reply, QStringLiteral("m_recAppReply is nullptr"));
        return;
    }
    UninstallLog::debug(QStringLiteral("start parse recJson!"));
    parseBody(reply);

    // The pictures of a version are fetched once; a later run with the same version reuses them.
    TernSettings* settings = TernSettings::instance();
    const QString stored = settings->value(kVersionKey, QString()).toString();
    if (!stored.isEmpty() && stored == m_version) {
        emit downLoadResEmit();
        return;
    }
    if (m_downloadList.isEmpty())
        emit downLoadResEmit();
    else
        imageDownload();
    settings->setValue(kVersionKey, QVariant(m_version));
}

void UrlHandler::replyFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply->error() != QNetworkReply::NoError) {
        failDocument(reply, QStringLiteral("reply is nullptr"));
        return;
    }
    UninstallLog::debug(QStringLiteral("start parse json!"));
    parseBody(reply);
}

void UrlHandler::parseBody(QNetworkReply* reply)
{
    {
        QMutexLocker lock(&m_mutex);
        m_document = reply->readAll();
        parseJson();
    }
    reply->deleteLater();
}

void UrlHandler::runOn(QThread* thread)
{
    moveToThread(thread);
    connect(thread, &QThread::started, this, &UrlHandler::recAppHandelThreadFunction,
        Qt::QueuedConnection);
    connect(thread, &QThread::started, this, &UrlHandler::choseHandelThreadFunction,
        Qt::QueuedConnection);
    connect(thread, &QThread::finished, this, &QObject::deleteLater);
}

void UrlHandler::parseJson()
{
    using namespace ContentDocuments;
    QJsonDocument document;
    QString failure;
    if (!parseDocument(m_document, &document, &failure)) {
        UninstallLog::error(failure);
        emit LoadResError();
        return;
    }
    const QJsonObject root = document.object();
    switch (kindOf(root)) {
    case Kind::RecommendedApps: {
        const QVector<RecommendedApp> apps = recommendedApps(root, m_language);
        for (const RecommendedApp& app : apps) {
            m_downloadList.append({ QUrl(app.picUrl, QUrl::TolerantMode), app.app.icon });
            m_recApps.append(app.app);
        }
        emit recAppEmit(m_recApps);
        break;
    }
    case Kind::CauseChoice: {
        const CauseChoice choice = causeChoice(root, m_language);
        m_causeCheck = choice.causeCheck;
        m_users = choice.users;
        m_causeKeys += choice.keys;
        // The texts are asked for only now, so that they always follow the keys.
        causeHandelThreadFunction();
        break;
    }
    case Kind::CauseTexts: {
        const QMap<QString, QString> texts = allTexts(causeTextObject(root, m_language));
        for (auto it = texts.begin(); it != texts.end(); ++it)
            m_causeTexts.insert(it.key(), it.value());
        emit uninstallCauseEmit(m_causeCheck, m_causeKeys, m_causeTexts, m_users);
        break;
    }
    case Kind::None:
        break;
    }
    UninstallLog::debug(QStringLiteral("start parse Json ending!"));
}

void UrlHandler::imageDownload()
{
    if (m_downloadList.isEmpty())
        return;
    while (!m_downloadList.isEmpty()) {
        const DownloadItem item = m_downloadList.takeFirst();
        // A document must never make the wizard write outside the download directory.
        if (!ContentDocuments::isSafeFileName(item.fileName)) {
            UninstallLog::error(QStringLiteral("refused download file name: ") + item.fileName);
            continue;
        }
        m_currentFileName = item.fileName;
        get(item.url.toString(), &UrlHandler::downloadFinished);
        return;
    }
    // Only refused names were left: the queue ends here.
    emit downLoadResEmit();
}

void UrlHandler::savePicture(const QByteArray& data)
{
    const QString directory = downloadDirectory();
    QDir().mkpath(directory);
    // Written aside and renamed, so that a reader never sees half a picture.
    QSaveFile file(directory + m_currentFileName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(data);
        file.commit();
    }
}

void UrlHandler::downloadFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply && reply->error() == QNetworkReply::NoError) {
        savePicture(reply->readAll());
        disconnect(reply, &QNetworkReply::finished, this, &UrlHandler::downloadFinished);
        reply->deleteLater();
    } else {
        UninstallLog::error(reply ? QStringLiteral("NetworkError error:") + reply->errorString()
                                  : QStringLiteral("reply is nullptr"));
        UninstallLog::debug(QStringLiteral("load default res!"));
        if (reply)
            reply->deleteLater();
    }
    if (m_downloadList.isEmpty())
        emit downLoadResEmit();
    imageDownload();
}
