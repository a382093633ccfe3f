#include "os/userregistry.h"

#include "text.h"

// The current user's hive through the 8-bit registry API, in the system's code page. Keys for
// writing are opened in the 64-bit view, so 32-bit and 64-bit builds share the values;
// read-only keys use the process's default view.

namespace Os {

namespace {

HKEY nativeKey(std::intptr_t handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

bool UserRegistryKey::create(const std::string& path)
{
    close();
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, Text::toAnsi(path).c_str(), 0, nullptr, 0,
            KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    m_path = path;
    m_open = true;
    m_writable = true;
    return true;
}

bool UserRegistryKey::openReadOnly(const std::string& path)
{
    close();
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Text::toAnsi(path).c_str(), 0, KEY_READ, &handle)
        != ERROR_SUCCESS)
        return false;
    m_handle = reinterpret_cast<std::intptr_t>(handle);
    m_path = path;
    m_open = true;
    return true;
}

RegistryValue UserRegistryKey::value(const std::string& name) const
{
    RegistryValue result;
    if (!m_open)
        return result;
    const std::string valueName = Text::toAnsi(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(nativeKey(m_handle), valueName.c_str(), nullptr, &type, nullptr, &size)
        != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ) {
        result.type = RegistryValueType::Other;
        return result;
    }
    // One byte more than asked for: a stored string need not end with its zero.
    std::string data(std::size_t(size) + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(nativeKey(m_handle), valueName.c_str(), nullptr, &type,
            reinterpret_cast<LPBYTE>(data.data()), &read)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return result;
    result.type = RegistryValueType::String;
    result.text = Text::fromAnsi(data.c_str());
    return result;
}

bool UserRegistryKey::setString(const std::string& name, const std::string& text)
{
    if (!m_writable)
        return false;
    const std::string data = Text::toAnsi(text);
    // The text and its terminating zero.
    return RegSetValueExA(nativeKey(m_handle), Text::toAnsi(name).c_str(), 0, REG_SZ,
               reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1))
        == ERROR_SUCCESS;
}

bool UserRegistryKey::setBinary(const std::string& name, const std::vector<std::uint8_t>& data)
{
    if (!m_writable)
        return false;
    return RegSetValueExA(nativeKey(m_handle), Text::toAnsi(name).c_str(), 0, REG_BINARY,
               data.data(), DWORD(data.size()))
        == ERROR_SUCCESS;
}

bool UserRegistryKey::remove(const std::string& name)
{
    return m_writable
        && RegDeleteValueA(nativeKey(m_handle), Text::toAnsi(name).c_str()) == ERROR_SUCCESS;
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

} // namespace Os
