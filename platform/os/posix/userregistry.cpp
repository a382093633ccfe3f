#include "os/userregistry.h"

#include "userpaths.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

// The per-user registry as a folder tree: one folder per key, its values in the file "values",
// one line each: the type, the name and the data, name and data in hexadecimal so that any
// bytes survive.

namespace Os {

namespace {

const char* const kStringType = "REG_SZ";
const char* const kBinaryType = "REG_BINARY";

struct StoredValue {
    std::string type;
    std::string data;
};
using Values = std::map<std::string, StoredValue>;

std::string registryRoot()
{
    const char* root = std::getenv("TERN_REGISTRY_ROOT");
    if (root && root[0] != '\0')
        return root;
    return UserPaths::configHome() + "/tern-registry/HKEY_CURRENT_USER";
}

// Key names never escape the hive: empty, "." and ".." components are dropped.
std::string keyDirectory(const std::string& path)
{
    std::string directory = registryRoot();
    std::istringstream components(path);
    std::string part;
    while (std::getline(components, part, '\\')) {
        if (part.empty() || part == "." || part == "..")
            continue;
        for (char& c : part) {
            if (c == '/')
                c = '_';
        }
        directory += '/' + part;
    }
    return directory;
}

std::string toHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 0xf];
    }
    return hex;
}

int nibble(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return 0; // only a damaged file holds anything else
}

std::string fromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(nibble(hex[i]) << 4 | nibble(hex[i + 1]));
    return bytes;
}

Values readValues(const std::string& directory)
{
    Values values;
    std::ifstream file(directory + "/values");
    std::string type, name, data;
    while (file >> type >> name >> data)
        values[fromHex(name)] = { type, fromHex(data == "-" ? std::string() : data) };
    return values;
}

// Written whole to a file of its own and renamed over the old one: never half a file.
bool writeValues(const std::string& directory, const Values& values)
{
    const std::string path = directory + "/values";
    const std::string temporary = path + '.' + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::trunc);
        for (const auto& [name, value] : values) {
            const std::string data = toHex(value.data);
            file << value.type << ' ' << toHex(name) << ' ' << (data.empty() ? "-" : data) << '\n';
        }
        if (!file.flush())
            return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

bool store(const std::string& directory, const std::string& name, StoredValue value)
{
    Values values = readValues(directory);
    values[name] = std::move(value);
    return writeValues(directory, values);
}

} // namespace

bool UserRegistryKey::create(const std::string& path)
{
    close();
    const std::string directory = keyDirectory(path);
    // A key that cannot be written is refused, as a key opened for writing would be.
    if (!UserPaths::makePath(directory) || ::access(directory.c_str(), W_OK) != 0)
        return false;
    m_path = directory;
    m_open = true;
    m_writable = true;
    return true;
}

bool UserRegistryKey::openReadOnly(const std::string& path)
{
    close();
    const std::string directory = keyDirectory(path);
    if (::access(directory.c_str(), X_OK) != 0)
        return false;
    m_path = directory;
    m_open = true;
    return true;
}

RegistryValue UserRegistryKey::value(const std::string& name) const
{
    RegistryValue result;
    if (!m_open)
        return result;
    const Values values = readValues(m_path);
    const auto found = values.find(name);
    if (found == values.end())
        return result;
    result.type
        = found->second.type == kStringType ? RegistryValueType::String : RegistryValueType::Other;
    if (result.type == RegistryValueType::String)
        result.text = found->second.data;
    return result;
}

bool UserRegistryKey::setString(const std::string& name, const std::string& text)
{
    return m_writable && store(m_path, name, { kStringType, text });
}

bool UserRegistryKey::setBinary(const std::string& name, const std::vector<std::uint8_t>& data)
{
    return m_writable
        && store(m_path, name, { kBinaryType, std::string(data.begin(), data.end()) });
}

bool UserRegistryKey::remove(const std::string& name)
{
    if (!m_writable)
        return false;
    Values values = readValues(m_path);
    return values.erase(name) == 1 && writeValues(m_path, values);
}

void UserRegistryKey::close()
{
    m_open = false;
    m_writable = false;
    m_path.clear();
}

} // namespace Os
