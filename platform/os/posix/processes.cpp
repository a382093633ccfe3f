#include "os/processes.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <sys/types.h>
#include <unistd.h>

namespace Os {

namespace {

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Only processes this user started count: another account's copy of the product is neither
// this user's to end nor a reason to wait. The real uid is the one that started the process.
bool startedByThisUser(const std::string& procDir)
{
    std::ifstream status(procDir + "/status");
    std::string line;
    while (std::getline(status, line)) {
        // "Uid:\t<real>\t<effective>\t<saved>\t<file system>"
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            long long real = -1;
            return fields >> real && real == static_cast<long long>(::getuid());
        }
    }
    return false;
}

// The executable's file name as the kernel knows it; a replaced or deleted binary
// still reports its original name.
std::string exeNameOf(const std::string& procDir)
{
    char target[4096];
    const ssize_t length = ::readlink((procDir + "/exe").c_str(), target, sizeof target - 1);
    if (length > 0) {
        std::string path(target, std::size_t(length));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size()
            && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
            path.resize(path.size() - deleted.size());
        return baseName(path);
    }
    // An own process can still hide its exe link (it changed its credentials, say); its
    // command line names it.
    std::ifstream cmdline(procDir + "/cmdline", std::ios::binary);
    std::string argv0;
    std::getline(cmdline, argv0, '\0');
    return baseName(argv0);
}

} // namespace

std::int64_t currentProcessId()
{
    return std::int64_t(::getpid());
}

std::vector<Process> processes()
{
    std::vector<Process> result;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return result;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        const std::string dir = std::string("/proc/") + entry->d_name;
        if (!startedByThisUser(dir))
            continue;
        std::string name = exeNameOf(dir);
        if (!name.empty())
            result.push_back({ pid, std::move(name) });
    }
    ::closedir(proc);
    return result;
}

bool terminateProcess(std::int64_t pid)
{
    // A value that pid_t cannot hold would wrap, possibly to -1 or to a process group.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    // A process that ended before it could be ended is gone all the same.
    return ::kill(pid_t(pid), SIGKILL) == 0 || errno == ESRCH;
}

} // namespace Os
