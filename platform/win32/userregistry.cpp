#include "platform.h"

#include "windowsapi.h"

#include <rpc.h>

#include <cstdio>

// The current user's hive through the 8-bit registry API. Keys for writing are opened in the
// 64-bit view, so 32-bit and 64-bit builds share the values; read-only keys use the process's
// default view.

namespace Platform {

namespace {

HKEY nativeKey(qintptr handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

UserRegistryKey::~UserRegistryKey()
{
    close();
}

bool UserRegistryKey::create(const QString& path)
{
    close();
    HKEY handle = nullptr;
    const QByteArray nativePath = path.toLocal8Bit();
    if (RegCreateKeyExA(HKEY_CURRENT_USER, nativePath.constData(), 0, nullptr, 0,
            KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    m_handle = reinterpret_cast<qintptr>(handle);
    m_path = path;
    m_open = true;
    m_writable = true;
    return true;
}

bool UserRegistryKey::openReadOnly(const QString& path)
{
    close();
    HKEY handle = nullptr;
    const QByteArray nativePath = path.toLocal8Bit();
    if (RegOpenKeyExA(HKEY_CURRENT_USER, nativePath.constData(), 0, KEY_READ, &handle)
        != ERROR_SUCCESS)
        return false;
    m_handle = reinterpret_cast<qintptr>(handle);
    m_path = path;
    m_open = true;
    m_writable = false;
    return true;
}

RegistryValue UserRegistryKey::value(const QString& name) const
{
    RegistryValue result;
    if (!m_open)
        return result;
    const QByteArray valueName = name.toLocal8Bit();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(nativeKey(m_handle), valueName.constData(), nullptr, &type, nullptr, &size)
        != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ) {
        result.type = RegistryValueType::Other;
        return result;
    }
    // One byte more than asked for: a stored string need not end with its zero.
    QByteArray data(int(size) + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(nativeKey(m_handle), valueName.constData(), nullptr, &type,
            reinterpret_cast<LPBYTE>(data.data()), &read)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return result;
    result.type = RegistryValueType::String;
    result.text = QString::fromLocal8Bit(data.constData());
    return result;
}

bool UserRegistryKey::setString(const QString& name, const QString& text)
{
    if (!m_open || !m_writable)
        return false;
    const QByteArray valueName = name.toLocal8Bit();
    const QByteArray data = text.toLocal8Bit();
    // The text and its terminating zero.
    return RegSetValueExA(nativeKey(m_handle), valueName.constData(), 0, REG_SZ,
               reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size() + 1))
        == ERROR_SUCCESS;
}

bool UserRegistryKey::setBinary(const QString& name, const QByteArray& data)
{
    if (!m_open || !m_writable)
        return false;
    const QByteArray valueName = name.toLocal8Bit();
    return RegSetValueExA(nativeKey(m_handle), valueName.constData(), 0, REG_BINARY,
               reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size()))
        == ERROR_SUCCESS;
}

bool UserRegistryKey::remove(const QString& name)
{
    if (!m_open || !m_writable)
        return false;
    const QByteArray valueName = name.toLocal8Bit();
    return RegDeleteValueA(nativeKey(m_handle), valueName.constData()) == ERROR_SUCCESS;
}

void UserRegistryKey::close()
{
    if (m_open)
        RegCloseKey(nativeKey(m_handle));
    m_handle = 0;
    m_open = false;
    m_writable = false;
    m_path.clear();
}

QString createUuidString()
{
    UUID uuid {};
    // RPC_S_UUID_LOCAL_ONLY still gives a usable identifier; only all zeros is refused.
    UuidCreate(&uuid);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&uuid);
    bool allZero = true;
    for (size_t i = 0; i < sizeof uuid; ++i)
        allZero = allZero && bytes[i] == 0;
    if (allZero)
        return {};
    char text[39];
    std::snprintf(text, sizeof text,
        "{%08lx-%04hx-%04hx-%02hhx%02hhx-%02hhx%02hhx%02hhx%02hhx%02hhx%02hhx}", uuid.Data1,
        uuid.Data2, uuid.Data3, uuid.Data4[0], uuid.Data4[1], uuid.Data4[2], uuid.Data4[3],
        uuid.Data4[4], uuid.Data4[5], uuid.Data4[6], uuid.Data4[7]);
    return QString::fromLatin1(text);
}

} // namespace Platform
