#include "platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <limits>
#include <sys/types.h>
#include <unistd.h>

namespace Platform {

namespace {

// Only processes this user started count: another account's copy of the product is neither
// this user's to end nor a reason to wait. The real uid is the one that started the process.
bool startedByThisUser(const QString& procDir)
{
    QFile status(procDir + QStringLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    // "Uid:\t<real>\t<effective>\t<saved>\t<file system>"
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Uid:")) {
            bool ok = false;
            const uid_t real = uid_t(line.mid(4).simplified().split(' ').value(0).toULong(&ok));
            return ok && real == ::getuid();
        }
    }
    return false;
}

// The executable's file name as the kernel knows it; a replaced or deleted binary
// still reports its original name.
QString exeNameOf(const QString& procDir)
{
    QString target = QFile::symLinkTarget(procDir + QStringLiteral("/exe"));
    if (!target.isEmpty()) {
        const QString deleted = QStringLiteral(" (deleted)");
        if (target.endsWith(deleted))
            target.chop(deleted.size());
        return QFileInfo(target).fileName();
    }
    // An own process can still hide its exe link (it changed its credentials, say); its
    // command line names it.
    QFile cmdline(procDir + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    const QByteArray argv0 = cmdline.readAll().split('\0').value(0);
    return argv0.isEmpty() ? QString() : QFileInfo(QFile::decodeName(argv0)).fileName();
}

} // namespace

qint64 currentProcessId()
{
    return static_cast<qint64>(::getpid());
}

QList<ProcessEntry> processes()
{
    QList<ProcessEntry> result;
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        if (!startedByThisUser(proc.filePath(entry)))
            continue;
        const QString name = exeNameOf(proc.filePath(entry));
        if (!name.isEmpty())
            result.append({ pid, name });
    }
    return result;
}

bool terminateProcess(qint64 pid)
{
    // A value that pid_t cannot hold would wrap, possibly to -1 or to a process group.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    // A process that ended before it could be ended is gone all the same.
    return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0 || errno == ESRCH;
}

} // namespace Platform
