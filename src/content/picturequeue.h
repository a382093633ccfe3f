#pragma once

#include "content/downloaditem.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

// Downloads pictures into a folder, a few at a time, against one deadline for the whole queue:
// what has arrived when it passes is kept, the rest is left to the shipped defaults. Lives in
// the thread of its owner and tells the end once, through finished().
class PictureQueue : public QObject {
    Q_OBJECT
public:
    static constexpr int kParallel = 4;

    explicit PictureQueue(const QString& folder, QObject* parent = nullptr);
    ~PictureQueue() override;

    void append(const DownloadItem& item);
    // Starts counting down; call from the queue's own thread.
    void startDeadline(int milliseconds);
    // Starts the downloads. A queue whose deadline has passed finishes at once.
    void start(QNetworkAccessManager* manager);
    // Nothing is to be downloaded this run: the queue ends without a word.
    void drop();
    bool isFinished() const { return m_finished; }

    // Why an item is not downloaded, for the log; empty when it is. A document must never make
    // the wizard write outside the folder, nor read anything but the web.
    static QString refusal(const DownloadItem& item);

signals:
    void finished();

private:
    void startWaiting();
    void onReplyFinished(QNetworkReply* reply);
    void save(const QString& fileName, const QByteArray& data);
    void expire();
    void abortRunning();
    void finish();

    QString m_folder;
    QNetworkAccessManager* m_manager = nullptr;
    QList<DownloadItem> m_waiting;
    QHash<QNetworkReply*, QString> m_running; // reply -> file name
    QTimer m_deadline;
    bool m_finished = false;
};
