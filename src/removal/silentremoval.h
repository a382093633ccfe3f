#pragma once

#include "removal/removaloutcome.h"

#include <QObject>
#include <QTimer>

#include <memory>

class FileDeletionThread;

// The removal without a window, for administrators and deployment tools: ends the running
// application only when told to, removes the installation on the deletion thread, writes its
// progress to the log and runs the after-uninstall actions that need no user.
class SilentRemoval : public QObject {
    Q_OBJECT
public:
    enum Result { Removed, Refused, Failed, ApplicationRunning };

    explicit SilentRemoval(bool closeApplications, QObject* parent = nullptr);
    ~SilentRemoval() override;

    void start();
    Result result() const { return m_result; }
    RemovalOutcome removal() const { return m_removal; }

signals:
    void finished();

private:
    void pollApplication();
    void startRemoval();
    void logProgress(int entriesDone);
    void onRemovalEnded();
    void finish(Result result);

    bool m_closeApplications = false;
    QTimer m_poll;
    QTimer m_killTimeout;
    std::unique_ptr<FileDeletionThread> m_thread;
    int m_entries = 0;
    int m_nextPercent = 10;
    bool m_ended = false;
    Result m_result = Failed;
    RemovalOutcome m_removal;
};
