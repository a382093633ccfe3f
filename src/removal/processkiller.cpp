#include "removal/processkiller.h"

#include "platform.h"

void killProcesses(const QStringList& names)
{
    const QList<Platform::ProcessEntry> running = Platform::processes();
    if (running.isEmpty())
        return;
    // The wizard may be hosted by an executable that carries the product's name.
    const qint64 self = Platform::currentProcessId();
    for (const Platform::ProcessEntry& process : running) {
        if (process.pid == self || !names.contains(process.exeFileName, Qt::CaseInsensitive))
            continue;
        Platform::terminateProcess(process.pid);
    }
}
