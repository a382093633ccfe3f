#include "os/windowactivation.h"

#include "windowsapi.h"

namespace Os {

namespace {

// Window handles carry 32 significant bits, in 32-bit and 64-bit processes alike.
HWND nativeWindow(std::uintptr_t handle)
{
    return reinterpret_cast<HWND>(handle);
}

} // namespace

bool isWindow(std::uintptr_t handle)
{
    return handle != 0 && IsWindow(nativeWindow(handle));
}

bool activateWindow(std::uintptr_t handle)
{
    if (!isWindow(handle))
        return false;
    const HWND window = nativeWindow(handle);
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    InvalidateRect(window, nullptr, TRUE);
    FlashWindow(window, TRUE);
    return true;
}

} // namespace Os
