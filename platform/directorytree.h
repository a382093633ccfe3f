#pragma once

// The core's directory tree, under the names the library uses.

#include "os/directorytree.h"

namespace Platform {
using Os::DirectoryTree;
using Os::NativeString;
} // namespace Platform
