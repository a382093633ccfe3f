#include "content/updaterdownload.h"

#include "content/contentfetch.h"
#include "content/localfiles.h"
#include "entry/logging.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

UpdaterDownload::UpdaterDownload(const QString& targetPath, QObject* parent)
    : QObject(parent)
    , m_targetPath(targetPath)
{
}

UpdaterDownload::~UpdaterDownload()
{
    // An unfinished download is dropped; the uncommitted file goes with m_file.
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        delete m_reply.data();
    }
}

void UpdaterDownload::start(QNetworkAccessManager* manager, const QUrl& url)
{
    // An executable fetched over plain http could be anybody's.
    if (!ContentFetch::isAllowed(url, ContentFetch::Transport::Secure)) {
        QTimer::singleShot(0, this, [this, url] {
            fail(QStringLiteral("refused updater address: ") + url.toDisplayString());
        });
        return;
    }
    m_reply = ContentFetch::get(manager, url, ContentFetch::kMaxUpdaterBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdaterDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &UpdaterDownload::onFinished,
        Qt::QueuedConnection);
}

void UpdaterDownload::onReadyRead()
{
    if (m_reply)
        writeAvailable(m_reply);
}

void UpdaterDownload::writeAvailable(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_writeFailed || reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        // An error page is no updater: drop it, onFinished reports the error.
        reply->readAll();
        return;
    }
    if (!m_file) {
        // QSaveFile would write through a link in the updater's place: none may stay there.
        const QString folder = QFileInfo(m_targetPath).absolutePath();
        if (!LocalFiles::makeFolder(folder) || !LocalFiles::removeLink(m_targetPath)) {
            m_writeFailed = true;
            UninstallLog::error(QStringLiteral("Failed to write updater file(") + m_targetPath
                + QStringLiteral("): cannot replace a link"));
            return;
        }
        m_file = std::make_unique<QSaveFile>(m_targetPath);
        if (!m_file->open(QIODevice::WriteOnly)) {
            m_writeFailed = true;
            logWriteFailure();
            return;
        }
    }
    const QByteArray chunk = reply->readAll();
    m_received += chunk.size();
    if (m_file->write(chunk) != chunk.size()) {
        m_writeFailed = true;
        logWriteFailure();
    }
}

void UpdaterDownload::logWriteFailure()
{
    UninstallLog::error(QStringLiteral("Failed to write updater file(") + m_targetPath
        + QStringLiteral("): ") + m_file->errorString());
}

bool UpdaterDownload::complete(QNetworkReply* reply) const
{
    // A compressed body arrives decoded, so its length on the wire says nothing here.
    if (reply->hasRawHeader("Content-Encoding"))
        return true;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return !length.isValid() || length.toLongLong() == m_received;
}

void UpdaterDownload::fail(const QString& message)
{
    UninstallLog::error(message);
    m_file.reset();
    emit finished(false);
}

void UpdaterDownload::onFinished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();

    writeAvailable(reply);
    // Redirects, empty answers and error pages leave an earlier updater as it is.
    const QString failure
        = ContentFetch::failureOf(reply, m_received, ContentFetch::kMaxUpdaterBytes);
    if (!failure.isEmpty()) {
        fail(failure);
        return;
    }
    if (m_writeFailed) {
        m_file.reset();
        emit finished(false);
        return;
    }
    if (!complete(reply)) {
        fail(QStringLiteral("updater download incomplete: ") + m_targetPath);
        return;
    }
#ifndef Q_OS_WIN
    // Set on the open temporary file, so that no link can take the mode elsewhere.
    m_file->setPermissions(m_file->permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
#endif
    if (!m_file->commit()) {
        logWriteFailure();
        m_file.reset();
        emit finished(false);
        return;
    }
    m_file.reset();
    emit finished(true);
}
