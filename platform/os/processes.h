#pragma once

// The processes of the current user: listing, finding by executable name, ending.

#include <cstdint>
#include <string>
#include <vector>

namespace Os {

struct Process {
    std::int64_t pid = 0;
    std::string exeFileName; // UTF-8; the bare file name of the executable, no directory
};

std::int64_t currentProcessId();
// The processes this user started (other accounts' are neither listed nor ended). Empty when
// the system refuses to enumerate.
std::vector<Process> processes();
// Those whose executable file name is one of `exeFileNames`, compared on the whole name and in
// any letter case, as Windows compares file names. The calling process is never among them.
std::vector<Process> processesNamed(const std::vector<std::string>& exeFileNames);
// Ends the process at once (TerminateProcess / SIGKILL). True also when it had ended already;
// false when it could not be signalled.
bool terminateProcess(std::int64_t pid);

} // namespace Os
