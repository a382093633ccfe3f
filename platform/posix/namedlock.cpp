#include "platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Platform {

namespace {

// Locks live per user, like a mutex in a Windows logon session.
QString lockDirectory()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QFile::decodeName(runtime)).exists())
        return QFile::decodeName(runtime) + QStringLiteral("/tern-locks");
    return QDir::tempPath() + QStringLiteral("/tern-locks-") + QString::number(::getuid());
}

QString lockFilePath(const QString& name)
{
    // The name may hold anything a product name holds; the file name must not.
    const QByteArray digest
        = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return lockDirectory() + QLatin1Char('/') + QString::fromLatin1(digest)
        + QStringLiteral(".lock");
}

} // namespace

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
    QDir().mkpath(QFileInfo(path).absolutePath());
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
