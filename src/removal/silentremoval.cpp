#include "removal/silentremoval.h"

#include "entry/logging.h"
#include "entry/waits.h"
#include "removal/afteruninstall.h"
#include "removal/filedeletionthread.h"
#include "removal/processkiller.h"
#include "removal/runningapplication.h"

#include "ternsingleinstance.h"

#include <QCoreApplication>

SilentRemoval::SilentRemoval(bool closeApplications, QObject* parent)
    : QObject(parent)
    , m_closeApplications(closeApplications)
{
    m_poll.setInterval(Waits::scaled(Waits::kKillPollMs));
    m_killTimeout.setSingleShot(true);
    m_killTimeout.setInterval(Waits::scaled(Waits::kKillTimeoutMs));
    connect(&m_poll, &QTimer::timeout, this, &SilentRemoval::pollApplication);
    connect(&m_killTimeout, &QTimer::timeout, this, [this] {
        m_poll.stop();
        UninstallLog::error(QStringLiteral("Uninstall silent removal stopped: the application "
                                           "still runs after being ended"));
        finish(ApplicationRunning);
    });
}

SilentRemoval::~SilentRemoval() = default;

void SilentRemoval::start()
{
    UninstallLog::debug(QStringLiteral("Uninstall silent removal start!"));
    if (!RunningApplication::isRunning()) {
        startRemoval();
        return;
    }
    if (!m_closeApplications) {
        UninstallLog::error(
            QStringLiteral("Uninstall silent removal stopped: the application is running"));
        finish(ApplicationRunning);
        return;
    }
    // As the running-program dialog ends it: every copy by name, then watch it go.
    TernSingleInstance::release();
    const QString executable = RunningApplication::executableName();
    UninstallLog::debug(QStringLiteral("kill program:") + executable);
    killProcesses({ executable });
    m_killTimeout.start();
    m_poll.start();
}

void SilentRemoval::pollApplication()
{
    if (RunningApplication::isRunning()) {
        TernSingleInstance::release();
        return;
    }
    m_poll.stop();
    m_killTimeout.stop();
    startRemoval();
}

void SilentRemoval::startRemoval()
{
    m_thread = std::make_unique<FileDeletionThread>(QDir(QCoreApplication::applicationDirPath()));
    connect(m_thread.get(), &FileDeletionThread::scanned, this,
        [this](int entries) { m_entries = entries; });
    connect(m_thread.get(), &FileDeletionThread::updateBar, this, &SilentRemoval::logProgress);
    connect(
        m_thread.get(), &FileDeletionThread::deleteComplete, this, &SilentRemoval::onRemovalEnded);
    // A pass that finds no folder to work on ends without a word.
    connect(m_thread.get(), &QThread::finished, this, [this] {
        if (m_ended)
            return;
        m_removal.root = QCoreApplication::applicationDirPath();
        m_removal.decision.verdict = DeletionDecision::Missing;
        m_removal.decision.detail = QStringLiteral("the folder does not exist");
        finish(Refused);
    });
    m_thread->start(QThread::InheritPriority);
}

void SilentRemoval::logProgress(int entriesDone)
{
    while (
        m_entries > 0 && m_nextPercent <= 100 && entriesDone * 100 >= m_nextPercent * m_entries) {
        UninstallLog::debug(QStringLiteral("Uninstall silent removal %1%").arg(m_nextPercent));
        m_nextPercent += 10;
    }
}

void SilentRemoval::onRemovalEnded()
{
    m_ended = true;
    m_removal = m_thread->outcome();
    if (m_removal.failed()) {
        finish(m_removal.refused() ? Refused : Failed);
        return;
    }
    AfterUninstall::run(AfterUninstall::NoWebPage);
    finish(Removed);
}

void SilentRemoval::finish(Result result)
{
    m_result = result;
    emit finished();
}
