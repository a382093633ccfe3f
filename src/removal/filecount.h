#pragma once

#include <QDir>

// Files below `dir` at any depth, the range of the removal's progress bar. Directories do not
// count and hidden entries are not listed; the setup tool's "unins000" files do count. A link
// counts as one file and is not followed.
int countInstallationFiles(const QDir& dir);

// The same count, logging "Uninstall getFileCount run!" for every directory it lists (the
// first one included), as the wizard's start-up log has always shown it.
int getFileCountLogged(const QDir& dir);
