#include "platform.h"

#include <QDir>

#include "windowsapi.h"

namespace Platform {

QString executableFileName(const QString& baseName)
{
    return baseName + QStringLiteral(".exe");
}

QString sharedLibraryFileName(const QString& baseName)
{
    return baseName + QStringLiteral(".dll");
}

QString executablePath()
{
    wchar_t buffer[1024];
    // A length of 1000 or more means the path was cut short.
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 1000);
    if (length == 0 || length >= 1000)
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(length)));
}

Library::~Library()
{
    if (m_handle)
        FreeLibrary(static_cast<HMODULE>(m_handle));
}

bool Library::load(const QString& path)
{
    if (m_handle)
        return true;
    // LoadLibraryW wants backslashes; a bare file name is searched on the library path.
    const QString native = QDir::toNativeSeparators(path);
    m_handle = LoadLibraryW(reinterpret_cast<const wchar_t*>(native.utf16()));
    if (!m_handle)
        m_error = QStringLiteral("cannot load %1 (error %2)").arg(native).arg(GetLastError());
    return m_handle != nullptr;
}

void* Library::resolve(const char* symbol) const
{
    if (!m_handle)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), symbol));
}

} // namespace Platform
