#pragma once

// Windows of other processes, reached through their native handles.

#include <cstdint>

namespace Os {

// Whether a native window handle still names a window.
bool isWindow(std::uintptr_t handle);
// Brings another process's window to the front: restored when minimised, raised, activated,
// repainted and flashed where the platform allows. False when the handle names no window.
bool activateWindow(std::uintptr_t handle);

} // namespace Os
