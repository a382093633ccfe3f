#pragma once

// The operating-system services that the wizard and the host stand-ins need.
// One interface; posix/ implements it here, win32/ on the real target.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace Platform {

// ---- Executables and libraries --------------------------------------------------------------

// The file name of an executable called baseName: "Foo.exe" on Windows, "Foo" elsewhere.
QString executableFileName(const QString& baseName);
// The file name of a shared library called baseName: "CEIPG.dll" on Windows, "libCEIPG.so"
// elsewhere.
QString sharedLibraryFileName(const QString& baseName);
// Absolute path of the running process's executable; empty when it cannot be told.
QString executablePath();

// A library loaded at run time (LoadLibraryW / dlopen). Unloaded on destruction.
class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool load(const QString& path);
    bool isLoaded() const { return m_handle != nullptr; }
    void* resolve(const char* symbol) const;
    QString errorString() const { return m_error; }
    // Keeps the library mapped for the rest of the process.
    void leak() { m_handle = nullptr; }

private:
    void* m_handle = nullptr;
    QString m_error;
};

// ---- Processes ------------------------------------------------------------------------------

struct ProcessEntry {
    qint64 pid = 0;
    QString exeFileName; // bare file name of the executable, no directory
};

qint64 currentProcessId();
// The processes this user started (other accounts' are neither listed nor ended). An empty
// list when the system refuses to enumerate.
QList<ProcessEntry> processes();
// Ends the process at once (TerminateProcess / SIGKILL). True also when it had ended already;
// false when it could not be signalled.
bool terminateProcess(qint64 pid);
// Whether a process with the given executable file name runs, compared case-insensitively
// on the whole name; the calling process never counts.
bool isProcessRunning(const QString& exeFileName);

// ---- Named lock ----------------------------------------------------------------------------

// A named lock with CreateMutex semantics: the first holder creates it, a later one learns
// that it already exists. It disappears when its holder releases it or ends, crash included.
class NamedLock {
public:
    enum Result { Created, AlreadyExists, Failed };

    explicit NamedLock(const QString& name);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    Result create();
    bool isHeld() const;
    void close();

private:
    QString m_name;
    qintptr m_handle = -1;
};

// Where QSharedMemory keeps the segment called `name`: a native key in the same per-user place
// as the named lock of that name; empty where the name itself serves as the key.
QString sharedMemoryNativeKey(const QString& name);
// Whether a live process still uses the shared segment with that native key (attached to it
// while its creator runs). Only where segments can outlive their users (System V) can one be
// unused; elsewhere an existing segment is always in use.
bool isSharedMemoryInUse(const QString& nativeKey);

// Keeps other processes from the shared segment behind a native key (QSharedMemory locks only
// the segments it keys itself) until destroyed or the holder ends.
class SharedMemoryLock {
public:
    explicit SharedMemoryLock(const QString& nativeKey);
    ~SharedMemoryLock();
    SharedMemoryLock(const SharedMemoryLock&) = delete;
    SharedMemoryLock& operator=(const SharedMemoryLock&) = delete;

    bool isLocked() const { return m_handle != -1; }

private:
    qintptr m_handle = -1;
};

// ---- Per-user registry -----------------------------------------------------------------------

enum class RegistryValueType { None, String, Other };

struct RegistryValue {
    RegistryValueType type = RegistryValueType::None;
    QString text; // set for String values
};

// One key of the current user's registry hive (HKEY_CURRENT_USER), path separated by '\'.
class UserRegistryKey {
public:
    UserRegistryKey() = default;
    ~UserRegistryKey();
    UserRegistryKey(const UserRegistryKey&) = delete;
    UserRegistryKey& operator=(const UserRegistryKey&) = delete;

    // Creates the key if needed and opens it for reading and writing (64-bit view).
    bool create(const QString& path);
    // Opens an existing key read-only, in the process's default view.
    bool openReadOnly(const QString& path);
    bool isOpen() const { return m_open; }
    RegistryValue value(const QString& name) const;
    bool setString(const QString& name, const QString& text);
    // Stand-in helpers for tests and tools: store a value of a non-string type, remove one.
    bool setBinary(const QString& name, const QByteArray& data);
    bool remove(const QString& name);
    void close();

private:
    QString m_path;
    bool m_open = false;
    bool m_writable = false;
    qintptr m_handle = 0;
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
