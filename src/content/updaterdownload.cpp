#include "content/updaterdownload.h"

#include "entry/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
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
    m_reply = manager->get(QNetworkRequest(url));
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
    if (m_writeFailed || reply->error() != QNetworkReply::NoError) {
        // An error page is no updater: drop it, onFinished reports the error.
        reply->readAll();
        return;
    }
    if (!m_file) {
        QDir().mkpath(QFileInfo(m_targetPath).absolutePath());
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

    if (reply->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("NetworkError error:") + reply->errorString());
        return;
    }
    // An empty body never signals readyRead; its file is written all the same.
    writeAvailable(reply);
    if (m_writeFailed) {
        m_file.reset();
        emit finished(false);
        return;
    }
    if (!complete(reply)) {
        fail(QStringLiteral("updater download incomplete: ") + m_targetPath);
        return;
    }
    if (!m_file->commit()) {
        logWriteFailure();
        m_file.reset();
        emit finished(false);
        return;
    }
    m_file.reset();
#ifndef Q_OS_WIN
    QFile::setPermissions(m_targetPath,
        QFile::permissions(m_targetPath) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
#endif
    emit finished(true);
}
