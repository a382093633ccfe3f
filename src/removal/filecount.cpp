#include "removal/filecount.h"

#include "entry/logging.h"
#include "removal/installationtree.h"

int countInstallationFiles(const QDir& dir)
{
    InstallationTree tree(dir.absolutePath());
    return tree.scan() ? tree.fileCount() : 0;
}

int getFileCountLogged(const QDir& dir)
{
    InstallationTree tree(dir.absolutePath());
    if (!tree.scan()) {
        UninstallLog::debug(QStringLiteral("Uninstall getFileCount run!"));
        return 0;
    }
    for (int i = 0; i < tree.listedDirectories(); ++i)
        UninstallLog::debug(QStringLiteral("Uninstall getFileCount run!"));
    return tree.fileCount();
}
