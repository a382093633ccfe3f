#include "removal/filedeletionthread.h"

#include "entry/logging.h"
#include "removal/installationtree.h"

#include <QStandardPaths>

namespace {

// The pace the progress bar was designed for, and a breather for the file system.
void pause()
{
    QThread::usleep(100);
}

} // namespace

FileDeletionThread::FileDeletionThread(const QDir& root)
    : FileDeletionThread(root, InstallationMarks::current())
{
}

FileDeletionThread::FileDeletionThread(const QDir& root, const InstallationMarks& marks)
    : root(root)
    , marks(marks)
{
    UninstallLog::debug(QStringLiteral("FileDeletionThread init!"));
}

FileDeletionThread::~FileDeletionThread()
{
    if (isRunning())
        wait();
}

void FileDeletionThread::run()
{
    const QDir target = root;
    UninstallLog::debug(QStringLiteral("FileDeletionThread start!"));
    files.clear();
    dirs.clear();
    m_outcome = RemovalOutcome();
    m_outcome.root = target.absolutePath();
    if (!target.exists())
        return;

    m_outcome.decision = DeletionDecision::decide(m_outcome.root, marks);
    if (m_outcome.refused()) {
        UninstallLog::error(QStringLiteral("FileDeletionThread refused to delete ") + m_outcome.root
            + QStringLiteral(": ") + m_outcome.decision.detail);
        m_outcome.leftovers.append({ m_outcome.root, Leftover::RefusedRoot });
        finish();
        return;
    }

    InstallationTree tree(m_outcome.decision.folder);
    if (!tree.scan()) {
        m_outcome.failure = tree.errorText();
        UninstallLog::error(QStringLiteral("FileDeletionThread cannot open ") + m_outcome.root
            + QStringLiteral(": ") + m_outcome.failure);
        m_outcome.leftovers.append({ m_outcome.root, Leftover::Permission });
        finish();
        return;
    }
    files = tree.files();
    dirs = tree.directories();
    m_outcome.leftovers = tree.keptByDesign();
    for (const Leftover& kept : qAsConst(m_outcome.leftovers)) {
        if (kept.reason == Leftover::MountPoint)
            UninstallLog::debug(
                QStringLiteral("FileDeletionThread leaves the mount point alone: ") + kept.path);
    }
    emit scanned(files.size() + dirs.size());
    removeAll(tree);
    finish();
}

void FileDeletionThread::removeAll(InstallationTree& tree)
{
    int counter = 0;
    const auto removeOne = [&](std::size_t index, int* removed) {
        Leftover::Reason reason = Leftover::Failed;
        ++m_outcome.attempted;
        if (tree.remove(index, &reason)) {
            ++*removed;
        } else {
            m_outcome.leftovers.append({ tree.path(index), reason });
            UninstallLog::error(tree.name(index) + QStringLiteral(": delete failed"));
        }
        emit updateBar(++counter);
        pause();
    };
    for (std::size_t file : qAsConst(files))
        removeOne(file, &m_outcome.removedFiles);
    // Deepest first, so each directory is empty by the time its turn comes.
    for (std::size_t dir : qAsConst(dirs))
        removeOne(dir, &m_outcome.removedDirectories);
}

void FileDeletionThread::finish()
{
    m_outcome.writeList(QStandardPaths::writableLocation(QStandardPaths::DataLocation));
    if (m_outcome.failed())
        UninstallLog::error(m_outcome.summary());
    else
        UninstallLog::debug(m_outcome.summary());
    emit deleteComplete();
}
