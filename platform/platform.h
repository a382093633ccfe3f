#pragma once

// The operating-system services that the wizard and the host stand-ins need, in Qt's types.
// A thin layer over the Qt-free core in os/, which has a POSIX and a Win32 backend.

#include "os/executables.h"
#include "os/namedlock.h"
#include "os/userregistry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace Platform {

// ---- Executables and libraries --------------------------------------------------------------

// The file name of an executable called baseName: "Foo.exe" on Windows, "Foo" elsewhere.
QString executableFileName(const QString& baseName);
// The file name of a shared library called baseName: "CEIPG.dll" on Windows, "libCEIPG.so"
// elsewhere.
QString sharedLibraryFileName(const QString& baseName);
// Absolute path of the running process's executable, '/'-separated; empty when it cannot be
// told.
QString executablePath();

// A library loaded at run time (LoadLibraryW / dlopen). Unloaded on destruction.
class Library {
public:
    bool load(const QString& path);
    bool isLoaded() const { return m_library.isLoaded(); }
    void* resolve(const char* symbol) const { return m_library.resolve(symbol); }
    QString errorString() const;
    // Keeps the library mapped for the rest of the process.
    void leak() { m_library.leak(); }

private:
    Os::Library m_library;
};

// ---- Processes ------------------------------------------------------------------------------

struct ProcessEntry {
    qint64 pid = 0;
    QString exeFileName; // bare file name of the executable, no directory
};

qint64 currentProcessId();
// This user's processes whose executable file name is one of `exeFileNames`, compared on the
// whole name in any letter case; never the calling process.
QList<ProcessEntry> processesNamed(const QStringList& exeFileNames);
// Ends the process at once (TerminateProcess / SIGKILL). True also when it had ended already;
// false when it could not be signalled.
bool terminateProcess(qint64 pid);
// Whether another process of this user runs the executable `exeFileName`, named as above.
bool isProcessRunning(const QString& exeFileName);

// ---- Named lock ----------------------------------------------------------------------------

// A named lock with CreateMutex semantics: the first holder creates it, a later one learns
// that it already exists. It disappears when its holder releases it or ends, crash included.
class NamedLock {
public:
    using Result = Os::NamedLock::Result;
    static constexpr Result Created = Os::NamedLock::Created;
    static constexpr Result AlreadyExists = Os::NamedLock::AlreadyExists;
    static constexpr Result Failed = Os::NamedLock::Failed;

    explicit NamedLock(const QString& name)
        : m_lock(name.toStdString())
    {
    }

    Result create() { return m_lock.create(); }
    bool isHeld() const { return m_lock.isHeld(); }
    void close() { m_lock.close(); }

private:
    Os::NamedLock m_lock;
};

// Where QSharedMemory keeps the segment called `name`: a native key in the same per-user place
// as the named lock of that name; empty where the name itself serves as the key.
QString sharedMemoryNativeKey(const QString& name);
// Whether a live process still uses the shared segment with that native key.
bool isSharedMemoryInUse(const QString& nativeKey);

// Keeps other processes from the shared segment behind a native key (QSharedMemory locks only
// the segments it keys itself) until destroyed or the holder ends.
class SharedMemoryLock {
public:
    explicit SharedMemoryLock(const QString& nativeKey);
    bool isLocked() const { return m_lock.isLocked(); }

private:
    Os::SharedMemoryLock m_lock;
};

// ---- Per-user registry -----------------------------------------------------------------------

using RegistryValueType = Os::RegistryValueType;

struct RegistryValue {
    RegistryValueType type = RegistryValueType::None;
    QString text; // set for String values
};

// One key of the current user's registry hive (HKEY_CURRENT_USER), path separated by '\'.
class UserRegistryKey {
public:
    // Creates the key if needed and opens it for reading and writing (64-bit view).
    bool create(const QString& path) { return m_key.create(path.toStdString()); }
    // Opens an existing key read-only, in the process's default view.
    bool openReadOnly(const QString& path) { return m_key.openReadOnly(path.toStdString()); }
    bool isOpen() const { return m_key.isOpen(); }
    RegistryValue value(const QString& name) const;
    bool setString(const QString& name, const QString& text);
    // For tests and tools: store a value of a non-string type, remove one.
    bool setBinary(const QString& name, const QByteArray& data);
    bool remove(const QString& name) { return m_key.remove(name.toStdString()); }
    void close() { m_key.close(); }

private:
    Os::UserRegistryKey m_key;
};

// A new random UUID in the 38-character braced lower-case form; empty when none could be made.
QString createUuidString();

// ---- Windows ---------------------------------------------------------------------------------

// Whether a native window handle still names a window.
bool isWindow(quintptr handle);
// Brings another process's window to the front: restored when minimised, raised, activated,
// repainted and flashed where the platform allows. False when the handle names no window.
bool activateWindow(quintptr handle);

} // namespace Platform
