#pragma once

// Where the system keeps what belongs to others.

#include <string>
#include <vector>

namespace Os {

// The home folders of every account the system knows (empty where accounts have no homes of
// their own in the file system, as on Windows).
std::vector<std::string> accountHomes();
// Every folder a file system is mounted on (empty where the system does not tell).
std::vector<std::string> mountRoots();

} // namespace Os
