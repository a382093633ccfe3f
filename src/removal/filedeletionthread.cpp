#include "removal/filedeletionthread.h"

#include "entry/logging.h"
#include "removal/deletionguard.h"
#include "removal/installationentries.h"

#include <QDirIterator>
#include <QFile>

#include <algorithm>

namespace {

// Links go with the files: removing one never touches what it points to.
bool removeFileEntry(const QFileInfo& entry)
{
    const QString path = entry.filePath();
    if (QFile::remove(path))
        return true;
#ifdef Q_OS_WIN
    // There a link to a directory is a directory entry of its own; removing it leaves the
    // target alone.
    if (InstallationEntries::isLink(entry) && entry.isDir())
        return QDir().rmdir(path);
#endif
    return false;
}

void reportFailure(const QString& name)
{
    UninstallLog::error(name + QStringLiteral(": delete failed"));
}

// The pace the progress bar was designed for, and a breather for the file system.
void pause()
{
    QThread::usleep(100);
}

} // namespace

FileDeletionThread::FileDeletionThread(const QDir& root)
    : root(root)
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
    if (!target.exists())
        return;

    const QString rootPath = target.absolutePath();
    const QString refusal = deletionRefusal(rootPath);
    if (!refusal.isEmpty()) {
        UninstallLog::error(QStringLiteral("FileDeletionThread refused to delete ") + rootPath
            + QStringLiteral(": ") + refusal);
        emit deleteComplete();
        return;
    }

    QList<QPair<int, QString>> directories;
    scan(rootPath, 1, &directories);
    std::stable_sort(directories.begin(), directories.end(),
        [](const QPair<int, QString>& a, const QPair<int, QString>& b) {
            return a.first > b.first;
        });
    for (const QPair<int, QString>& directory : qAsConst(directories))
        dirs.append(QDir(directory.second));

    removeAll();
    emit deleteComplete();
}

// Depth first, a directory before its contents, as a recursive directory iterator walks;
// links are listed but never entered, whatever they point to.
void FileDeletionThread::scan(
    const QString& path, int depth, QList<QPair<int, QString>>* directories)
{
    QDirIterator it(path, InstallationEntries::deletionFilters());
    while (it.hasNext()) {
        const QString entryPath = it.next();
        // Everything below a skipped directory carries its name in the path as well.
        if (InstallationEntries::belongsToSetupTool(entryPath))
            continue;
        const QFileInfo entry = it.fileInfo();
        if (InstallationEntries::isRealDirectory(entry)) {
            directories->append({ depth, entryPath });
            scan(entryPath, depth + 1, directories);
        } else {
            files.append(entry);
        }
    }
}

void FileDeletionThread::removeAll()
{
    int counter = 0;
    for (const QFileInfo& file : qAsConst(files)) {
        if (!removeFileEntry(file))
            reportFailure(file.fileName());
        emit updateBar(++counter);
        pause();
    }
    // Deepest first, so each directory is empty by the time its turn comes.
    for (const QDir& dir : qAsConst(dirs)) {
        if (!dir.rmdir(dir.absolutePath()))
            reportFailure(dir.dirName());
        emit updateBar(++counter);
        pause();
    }
}
