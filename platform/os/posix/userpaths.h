#pragma once

#include <string>

namespace Os::UserPaths {

// This user's home folder: the environment's when it is this user's own, otherwise the one the
// account database gives (a sudo that kept HOME, say).
std::string home();
// Where per-user configuration goes: $XDG_CONFIG_HOME, or .config in the home folder.
std::string configHome();
// Creates the folder and the ones above it; true when it exists afterwards.
bool makePath(const std::string& path);

} // namespace Os::UserPaths
