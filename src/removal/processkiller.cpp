#include "removal/processkiller.h"

#include "platform.h"

void killProcesses(const QStringList& names)
{
    // Never the wizard itself, which may be hosted by an executable of the product's name.
    const QList<Platform::ProcessEntry> running = Platform::processesNamed(names);
    for (const Platform::ProcessEntry& process : running)
        Platform::terminateProcess(process.pid);
}
