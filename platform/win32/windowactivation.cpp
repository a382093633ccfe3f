#include "platform.h"

#include "windowsapi.h"

namespace Platform {

namespace {

// Window handles carry 32 significant bits, in 32-bit and 64-bit processes alike.
HWND nativeWindow(quintptr handle)
{
    return reinterpret_cast<HWND>(handle);
}

} // namespace

bool isWindow(quintptr handle)
{
    return handle != 0 && IsWindow(nativeWindow(handle));
}

bool activateWindow(quintptr handle)
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

} // namespace Platform
