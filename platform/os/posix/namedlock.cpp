#include "os/namedlock.h"

#include "userpaths.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Os {

namespace {

// Locks and shared segments live per user, like named objects in a Windows logon session: in
// one place of the home folder, whatever runtime or temporary folder a session was given (ssh,
// cron and sudo sessions differ there), so that they all meet.
std::string ipcDirectory()
{
    const std::string directory = UserPaths::home() + "/.local/state/tern-locks";
    if (UserPaths::makePath(directory))
        ::chmod(directory.c_str(), 0700);
    return directory;
}

// The name may hold anything a product name holds, and be of any length; the file name must
// not. A home shared between machines must not let them block each other. 64 bits of FNV-1a
// keep the names of one user's products apart.
std::string ipcFilePath(const std::string& name, const char* suffix)
{
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::uint64_t digest = 0xcbf29ce484222325ull;
    for (const char c : std::string(host) + '/' + name) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 0x100000001b3ull;
    }
    char file[17];
    std::snprintf(file, sizeof file, "%016llx", static_cast<unsigned long long>(digest));
    return ipcDirectory() + '/' + file + suffix;
}

bool isAlive(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

} // namespace

std::string sharedMemoryNativeKey(const std::string& name)
{
    return ipcFilePath(name, ".shm");
}

bool isSharedMemoryInUse(const std::string& nativeKey)
{
    // The key QSharedMemory gives System V for a native key.
    const key_t key = ::ftok(nativeKey.c_str(), 'Q');
    const int id = key == -1 ? -1 : ::shmget(key, 0, 0);
    struct shmid_ds status { };
    if (id == -1 || ::shmctl(id, IPC_STAT, &status) != 0)
        return false;
    // Attachments end with their processes, crashes included; a creator that is gone cannot
    // be holding on to it either.
    return status.shm_nattch > 0 && isAlive(status.shm_cpid);
}

SharedMemoryLock::SharedMemoryLock(const std::string& nativeKey)
{
    // The segment's key file: QSharedMemory made it and keeps it while the segment exists.
    const int fd = ::open(nativeKey.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX) == 0)
        m_handle = fd;
    else
        ::close(fd);
}

SharedMemoryLock::~SharedMemoryLock()
{
    if (m_handle != -1)
        ::close(int(m_handle)); // releases the lock
}

NamedLock::Result NamedLock::create()
{
    close();
    const std::string path = ipcFilePath(m_name, ".lock");
    const int fd = ::open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return Failed;
    // flock belongs to the open file description, so a second lock of this very process is
    // refused too, as a second CreateMutex learns that the mutex exists.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = fd;
        return Created;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? AlreadyExists : Failed;
}

void NamedLock::close()
{
    if (m_handle != kNoHandle) {
        ::close(int(m_handle));
        m_handle = kNoHandle;
    }
}

} // namespace Os
