#include "os/namedlock.h"

#include "text.h"

// A named mutex without the "Global\" prefix: visible within the current logon session only.
// Windows releases it when its holder ends, crash included.

namespace Os {

NamedLock::Result NamedLock::create()
{
    close();
    const HANDLE handle = CreateMutexW(nullptr, TRUE, Text::widen(m_name).c_str());
    const DWORD error = GetLastError();
    if (!handle)
        return Failed;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return AlreadyExists;
    }
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    return Created;
}

void NamedLock::close()
{
    // Closing the last handle is enough: the mutex is never released explicitly.
    if (m_handle != kNoHandle) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
        m_handle = kNoHandle;
    }
}

// A file mapping lives exactly as long as a handle on it: the key names it directly, and an
// existing one always has a live user.
std::string sharedMemoryNativeKey(const std::string&)
{
    return {};
}

bool isSharedMemoryInUse(const std::string&)
{
    return true;
}

// Never needed here: segments are keyed by name and QSharedMemory locks them itself.
SharedMemoryLock::SharedMemoryLock(const std::string&) { }

SharedMemoryLock::~SharedMemoryLock() = default;

} // namespace Os
