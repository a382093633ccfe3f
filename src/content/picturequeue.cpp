#include "content/picturequeue.h"

#include "content/contentdocuments.h"
#include "content/contentfetch.h"
#include "content/localfiles.h"
#include "entry/logging.h"

#include <QNetworkReply>

PictureQueue::PictureQueue(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
    , m_deadline(this)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &PictureQueue::expire);
}

PictureQueue::~PictureQueue()
{
    abortRunning();
}

void PictureQueue::append(const DownloadItem& item)
{
    m_waiting.append(item);
}

void PictureQueue::startDeadline(int milliseconds)
{
    m_deadline.start(milliseconds);
}

void PictureQueue::start(QNetworkAccessManager* manager)
{
    m_manager = manager;
    if (m_finished)
        return;
    startWaiting();
    if (m_running.isEmpty())
        finish();
}

void PictureQueue::drop()
{
    m_waiting.clear();
    m_deadline.stop();
    m_finished = true;
}

QString PictureQueue::refusal(const DownloadItem& item)
{
    if (!ContentDocuments::isSafeFileName(item.fileName))
        return QStringLiteral("refused download file name: ") + item.fileName;
    if (!ContentFetch::isAllowed(item.url, ContentFetch::Transport::Web))
        return QStringLiteral("refused picture address: ") + item.url.toDisplayString();
    return {};
}

void PictureQueue::startWaiting()
{
    while (m_running.size() < kParallel && !m_waiting.isEmpty()) {
        const DownloadItem item = m_waiting.takeFirst();
        const QString refused = refusal(item);
        if (!refused.isEmpty()) {
            UninstallLog::error(refused);
            continue;
        }
        QNetworkReply* reply = ContentFetch::get(m_manager, item.url, LocalFiles::kMaxPictureBytes);
        reply->ignoreSslErrors();
        m_running.insert(reply, item.fileName);
        connect(
            reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); },
            Qt::QueuedConnection);
    }
}

void PictureQueue::onReplyFinished(QNetworkReply* reply)
{
    const QString fileName = m_running.take(reply);
    const QByteArray data
        = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    const QString failure
        = ContentFetch::failureOf(reply, data.size(), LocalFiles::kMaxPictureBytes);
    reply->deleteLater();
    if (!failure.isEmpty()) {
        UninstallLog::error(failure);
        UninstallLog::debug(QStringLiteral("load default res!"));
    } else {
        save(fileName, data);
    }
    startWaiting();
    if (m_running.isEmpty())
        finish();
}

void PictureQueue::save(const QString& fileName, const QByteArray& data)
{
    if (!LocalFiles::isUsablePicture(data)) {
        UninstallLog::error(QStringLiteral("refused picture ") + fileName
            + QStringLiteral(": not a picture of at most %1 pixels a side")
                  .arg(LocalFiles::kMaxPictureSide));
        return;
    }
    QString error;
    if (!LocalFiles::writeFile(m_folder, fileName, data, &error))
        UninstallLog::error(
            QStringLiteral("cannot save picture ") + fileName + QStringLiteral(": ") + error);
}

void PictureQueue::expire()
{
    if (m_finished)
        return;
    // Before the start, the late document that holds the queue back has its own line.
    if (m_manager) {
        UninstallLog::error(QStringLiteral("pictures not in by the deadline: %1")
                                .arg(m_running.size() + m_waiting.size()));
    }
    abortRunning();
    m_waiting.clear();
    finish();
}

void PictureQueue::abortRunning()
{
    const QList<QNetworkReply*> replies = m_running.keys();
    m_running.clear();
    for (QNetworkReply* reply : replies) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
}

void PictureQueue::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    emit finished();
}
