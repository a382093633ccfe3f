#include "platform.h"

#include "os/processes.h"
#include "os/windowactivation.h"

#include <QDir>
#include <QFile>

namespace Platform {

namespace {

// File names and paths as the core takes them: UTF-8 on Windows, the locale's bytes elsewhere.
std::string toNative(const QString& path)
{
#if defined(Q_OS_WIN)
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fromNative(const std::string& path)
{
#if defined(Q_OS_WIN)
    return QDir::fromNativeSeparators(QString::fromStdString(path));
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

} // namespace

QString executableFileName(const QString& baseName)
{
    return fromNative(Os::executableFileName(toNative(baseName)));
}

QString sharedLibraryFileName(const QString& baseName)
{
    return fromNative(Os::sharedLibraryFileName(toNative(baseName)));
}

QString executablePath()
{
    return fromNative(Os::executablePath());
}

bool Library::load(const QString& path)
{
    return m_library.load(toNative(path));
}

QString Library::errorString() const
{
    return QString::fromStdString(m_library.errorString());
}

qint64 currentProcessId()
{
    return Os::currentProcessId();
}

QList<ProcessEntry> processesNamed(const QStringList& exeFileNames)
{
    std::vector<std::string> names;
    for (const QString& name : exeFileNames)
        names.push_back(toNative(name));
    QList<ProcessEntry> found;
    for (const Os::Process& process : Os::processesNamed(names))
        found.append({ process.pid, fromNative(process.exeFileName) });
    return found;
}

bool terminateProcess(qint64 pid)
{
    return Os::terminateProcess(pid);
}

bool isProcessRunning(const QString& exeFileName)
{
    return !Os::processesNamed({ toNative(exeFileName) }).empty();
}

QString sharedMemoryNativeKey(const QString& name)
{
    return fromNative(Os::sharedMemoryNativeKey(name.toStdString()));
}

bool isSharedMemoryInUse(const QString& nativeKey)
{
    return Os::isSharedMemoryInUse(toNative(nativeKey));
}

SharedMemoryLock::SharedMemoryLock(const QString& nativeKey)
    : m_lock(toNative(nativeKey))
{
}

RegistryValue UserRegistryKey::value(const QString& name) const
{
    const Os::RegistryValue value = m_key.value(name.toStdString());
    return { value.type, QString::fromStdString(value.text) };
}

bool UserRegistryKey::setString(const QString& name, const QString& text)
{
    return m_key.setString(name.toStdString(), text.toStdString());
}

bool UserRegistryKey::setBinary(const QString& name, const QByteArray& data)
{
    return m_key.setBinary(name.toStdString(), { data.begin(), data.end() });
}

QString createUuidString()
{
    return QString::fromStdString(Os::createUuidString());
}

bool isWindow(quintptr handle)
{
    return Os::isWindow(handle);
}

bool activateWindow(quintptr handle)
{
    return Os::activateWindow(handle);
}

} // namespace Platform
