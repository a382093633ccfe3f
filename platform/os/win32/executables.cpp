#include "os/executables.h"

#include "text.h"

#include <algorithm>

namespace Os {

std::string executableFileName(const std::string& baseName)
{
    return baseName + ".exe";
}

std::string sharedLibraryFileName(const std::string& baseName)
{
    return baseName + ".dll";
}

std::string executablePath()
{
    wchar_t buffer[1024];
    // A length of 1000 or more means the path was cut short.
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 1000);
    if (length == 0 || length >= 1000)
        return {};
    return Text::narrow(std::wstring(buffer, length));
}

Library::~Library()
{
    if (m_handle)
        FreeLibrary(static_cast<HMODULE>(m_handle));
}

bool Library::load(const std::string& path)
{
    if (m_handle)
        return true;
    // LoadLibraryW wants backslashes; a bare file name is searched on the library path.
    std::wstring native = Text::widen(path);
    std::replace(native.begin(), native.end(), L'/', L'\\');
    m_handle = LoadLibraryW(native.c_str());
    if (!m_handle)
        m_error = "cannot load " + Text::narrow(native) + " (error "
            + std::to_string(GetLastError()) + ")";
    return m_handle != nullptr;
}

void* Library::resolve(const char* symbol) const
{
    if (!m_handle)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), symbol));
}

} // namespace Os
