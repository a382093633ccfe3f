#include "os/processes.h"

#include "filenamematch.h"

#include <algorithm>

// Matching by name is the same on every platform; only the process list differs.

namespace Os {

std::vector<Process> processesNamed(const std::vector<std::string>& exeFileNames)
{
    std::vector<Process> found;
    const std::int64_t self = currentProcessId();
    for (Process& process : processes()) {
        const bool named = std::any_of(exeFileNames.begin(), exeFileNames.end(),
            [&](const std::string& name) { return sameFileName(process.exeFileName, name); });
        if (named && process.pid != self)
            found.push_back(std::move(process));
    }
    return found;
}

} // namespace Os
