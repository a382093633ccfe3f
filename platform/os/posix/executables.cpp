#include "os/executables.h"

#include <dlfcn.h>
#include <unistd.h>

namespace Os {

std::string executableFileName(const std::string& baseName)
{
    return baseName;
}

std::string sharedLibraryFileName(const std::string& baseName)
{
    return "lib" + baseName + ".so";
}

std::string executablePath()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || std::size_t(length) >= sizeof path)
        return {};
    return std::string(path, std::size_t(length));
}

Library::~Library()
{
    if (m_handle)
        ::dlclose(m_handle);
}

bool Library::load(const std::string& path)
{
    if (m_handle)
        return true;
    m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* error = ::dlerror();
        m_error = error ? error : "cannot load " + path;
    }
    return m_handle != nullptr;
}

void* Library::resolve(const char* symbol) const
{
    return m_handle ? ::dlsym(m_handle, symbol) : nullptr;
}

} // namespace Os
