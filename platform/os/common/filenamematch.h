#pragma once

#include <string>

namespace Os {

// Whether two UTF-8 file names are the same in any letter case, as the backend's system compares
// them; names that are not valid UTF-8 match only byte for byte.
bool sameFileName(const std::string& a, const std::string& b);

} // namespace Os
