#include "removal/filecount.h"

#include "entry/logging.h"
#include "removal/installationentries.h"

#include <QDirIterator>

namespace {

int countFiles(const QString& path, bool logEachDirectory)
{
    if (logEachDirectory)
        UninstallLog::debug(QStringLiteral("Uninstall getFileCount run!"));
    int count = 0;
    QDirIterator it(path, InstallationEntries::countFilters());
    while (it.hasNext()) {
        it.next();
        const QFileInfo entry = it.fileInfo();
        if (InstallationEntries::isRealDirectory(entry))
            count += countFiles(entry.filePath(), logEachDirectory);
        else
            ++count;
    }
    return count;
}

} // namespace

int countInstallationFiles(const QDir& dir)
{
    return countFiles(dir.absolutePath(), false);
}

int getFileCountLogged(const QDir& dir)
{
    return countFiles(dir.absolutePath(), true);
}
