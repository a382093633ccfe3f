#include "platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// The home the account database gives, when the environment's is not this user's own (a
// sudo that kept HOME, say).
QString homeDirectory()
{
    const QString home = QDir::homePath();
    struct stat status { };
    if (::stat(QFile::encodeName(home).constData(), &status) == 0 && status.st_uid == ::getuid())
        return home;
    const passwd* account = ::getpwuid(::getuid());
    return account && account->pw_dir ? QFile::decodeName(account->pw_dir) : home;
}

// Locks and shared segments live per user, like named objects in a Windows logon session: in
// one place of the home folder, whatever runtime or temporary folder a session was given (ssh,
// cron and sudo sessions differ there), so that they all meet.
QString ipcDirectory()
{
    const QString directory = homeDirectory() + QStringLiteral("/.local/state/tern-locks");
    if (QDir().mkpath(directory))
        ::chmod(QFile::encodeName(directory).constData(), 0700);
    return directory;
}

// The name may hold anything a product name holds, and be of any length; the file name must
// not. A home shared between machines must not let them block each other.
QString ipcFilePath(const QString& name, const char* suffix)
{
    const QByteArray digest = QCryptographicHash::hash(
        (QSysInfo::machineHostName() + QLatin1Char('/') + name).toUtf8(), QCryptographicHash::Sha1)
                                  .toHex();
    return ipcDirectory() + QLatin1Char('/') + QString::fromLatin1(digest) + QLatin1String(suffix);
}

QString lockFilePath(const QString& name)
{
    return ipcFilePath(name, ".lock");
}

bool isAlive(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

} // namespace

QString sharedMemoryNativeKey(const QString& name)
{
    return ipcFilePath(name, ".shm");
}

bool isSharedMemoryInUse(const QString& nativeKey)
{
    // The key QSharedMemory gives System V for a native key.
    const key_t key = ::ftok(QFile::encodeName(nativeKey).constData(), 'Q');
    const int id = key == -1 ? -1 : ::shmget(key, 0, 0);
    struct shmid_ds status { };
    if (id == -1 || ::shmctl(id, IPC_STAT, &status) != 0)
        return false;
    // Attachments end with their processes, crashes included; a creator that is gone cannot
    // be holding on to it either.
    return status.shm_nattch > 0 && isAlive(status.shm_cpid);
}

SharedMemoryLock::SharedMemoryLock(const QString& nativeKey)
{
    // The segment's key file: QSharedMemory made it and keeps it while the segment exists.
    const int fd = ::open(QFile::encodeName(nativeKey).constData(), O_RDONLY | O_CLOEXEC);
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

NamedLock::NamedLock(const QString& name)
    : m_name(name)
{
}

NamedLock::~NamedLock()
{
    close();
}

NamedLock::Result NamedLock::create()
{
    close();
    const QString path = lockFilePath(m_name);
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = fd;
        return Created;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? AlreadyExists : Failed;
}

bool NamedLock::isHeld() const
{
    return m_handle >= 0;
}

void NamedLock::close()
{
    if (m_handle >= 0) {
        ::close(static_cast<int>(m_handle));
        m_handle = -1;
    }
}

} // namespace Platform
