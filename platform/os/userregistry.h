#pragma once

// The current user's registry hive (HKEY_CURRENT_USER), and the identifiers kept in it.
// Key paths, value names and texts are UTF-8.

#include <cstdint>
#include <string>
#include <vector>

namespace Os {

enum class RegistryValueType { None, String, Other };

struct RegistryValue {
    RegistryValueType type = RegistryValueType::None;
    std::string text; // set for String values
};

// One key, its path separated by '\'.
class UserRegistryKey {
public:
    UserRegistryKey() = default;
    ~UserRegistryKey() { close(); }
    UserRegistryKey(const UserRegistryKey&) = delete;
    UserRegistryKey& operator=(const UserRegistryKey&) = delete;

    // Creates the key if needed and opens it for reading and writing (64-bit view).
    bool create(const std::string& path);
    // Opens an existing key read-only, in the process's default view.
    bool openReadOnly(const std::string& path);
    bool isOpen() const { return m_open; }
    RegistryValue value(const std::string& name) const;
    bool setString(const std::string& name, const std::string& text);
    // For tests and tools: store a value of a non-string type, remove one.
    bool setBinary(const std::string& name, const std::vector<std::uint8_t>& data);
    bool remove(const std::string& name);
    void close();

private:
    std::string m_path;
    bool m_open = false;
    bool m_writable = false;
    std::intptr_t m_handle = 0;
};

// A new random UUID in the 38-character braced lower-case form; empty when none could be made.
std::string createUuidString();

} // namespace Os
