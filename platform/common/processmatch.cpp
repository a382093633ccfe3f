#include "platform.h"

// Matching by name is the same on every platform; only the process list differs.

namespace Platform {

bool isProcessRunning(const QString& exeFileName)
{
    const qint64 self = currentProcessId();
    const QList<ProcessEntry> all = processes();
    for (const ProcessEntry& process : all) {
        if (process.pid != self
            && process.exeFileName.compare(exeFileName, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace Platform
