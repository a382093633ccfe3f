#include "os/places.h"

namespace Os {

// Profiles are found from the environment's profile folder; drive and share roots by their form.

std::vector<std::string> accountHomes()
{
    return {};
}

std::vector<std::string> mountRoots()
{
    return {};
}

} // namespace Os
