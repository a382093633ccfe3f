#pragma once

#include <QStringList>

// Ends at once every process of this user whose executable file name is one of `names`
// (whole name, any letter case), except the calling process. Processes that cannot be
// signalled are skipped; nothing waits for the others to go.
void killProcesses(const QStringList& names);
