#include "os/places.h"

#include <fstream>
#include <mutex>
#include <pwd.h>
#include <sstream>

namespace Os {

namespace {

// The kernel writes blanks, tabs, newlines and backslashes of a mount point as \ooo.
std::string decodeMountField(const std::string& field)
{
    std::string decoded;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                decoded += char(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        decoded += field[i];
    }
    return decoded;
}

} // namespace

std::vector<std::string> accountHomes()
{
    // The account database's iteration is process-wide state.
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    std::vector<std::string> homes;
    ::setpwent();
    passwd entry {};
    passwd* found = nullptr;
    char buffer[4096];
    while (::getpwent_r(&entry, buffer, sizeof buffer, &found) == 0 && found) {
        if (found->pw_dir && found->pw_dir[0] == '/')
            homes.emplace_back(found->pw_dir);
    }
    ::endpwent();
    return homes;
}

std::vector<std::string> mountRoots()
{
    std::vector<std::string> roots;
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        // id, parent id, device, root within its file system, mount point, ...
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 5 && fields >> field; ++i) {
            if (i == 4)
                roots.push_back(decodeMountField(field));
        }
    }
    return roots;
}

} // namespace Os
