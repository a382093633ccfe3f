#pragma once

// The core's protected places, under the names the library uses.

#include "os/places.h"

namespace Platform {
using Os::accountHomes;
using Os::mountRoots;
} // namespace Platform
