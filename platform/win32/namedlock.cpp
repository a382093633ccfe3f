#include "platform.h"

#include "windowsapi.h"

// A named mutex without the "Global\" prefix: visible within the current logon session only.
// Windows releases it when its holder ends, crash included.

namespace Platform {

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
    const HANDLE handle
        = CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(m_name.utf16()));
    const DWORD error = GetLastError();
    if (!handle)
        return Failed;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return AlreadyExists;
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Created;
}

bool NamedLock::isHeld() const
{
    return m_handle != -1;
}

void NamedLock::close()
{
    // Closing the last handle is enough: the mutex is never released explicitly.
    if (m_handle != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
        m_handle = -1;
    }
}

} // namespace Platform

namespace Platform {

// A file mapping lives exactly as long as a handle on it: the key names it directly, and an
// existing one always has a live user.
QString sharedMemoryNativeKey(const QString&)
{
    return {};
}

bool isSharedMemoryInUse(const QString&)
{
    return true;
}

// Never needed here: segments are keyed by name and QSharedMemory locks them itself.
SharedMemoryLock::SharedMemoryLock(const QString&) { }

SharedMemoryLock::~SharedMemoryLock() = default;

} // namespace Platform
