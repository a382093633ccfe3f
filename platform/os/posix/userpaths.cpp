#include "userpaths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Os::UserPaths {

std::string home()
{
    const char* environment = std::getenv("HOME");
    struct stat status { };
    if (environment && environment[0] == '/' && ::stat(environment, &status) == 0
        && status.st_uid == ::getuid())
        return environment;
    passwd entry {};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found
        && found->pw_dir)
        return found->pw_dir;
    return environment ? environment : "";
}

std::string configHome()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && configured[0] == '/')
        return configured;
    return home() + "/.config";
}

bool makePath(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace Os::UserPaths
