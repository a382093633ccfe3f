// Window activation needs a display: the test runs under xvfb-run, here and under Wine.

#include "os/windowactivation.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <X11/Xlib.h>
#endif

// A top-level window of this process, minimised as a user minimises one.
TEST(WindowActivation, MinimisedWindowComesBack)
{
#if defined(_WIN32)
    const HWND window = CreateWindowExW(0, L"STATIC", L"backend test", WS_OVERLAPPEDWINDOW, 0, 0,
        320, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(window));
    const auto handle = reinterpret_cast<std::uintptr_t>(window);
    const auto isRestored = [&] { return !IsIconic(window) && IsWindowVisible(window); };
    const auto destroy = [&] { DestroyWindow(window); };
#else
    // Without a window manager an iconified window is an unmapped one.
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no display to make a window on";
    const Window handle
        = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 200, 0, 0, 0);
    // Marked urgent too, which the wizard-level tst_windowactivation shows end to end.
    const auto isRestored = [&] {
        XWindowAttributes attributes;
        XSync(display, False);
        return XGetWindowAttributes(display, handle, &attributes)
            && attributes.map_state == IsViewable;
    };
    const auto destroy = [&] { XDestroyWindow(display, handle); };
    XSync(display, False);
#endif
    EXPECT_TRUE(Os::isWindow(handle));
    EXPECT_TRUE(Os::activateWindow(handle));
    EXPECT_TRUE(isRestored());

    destroy();
#if !defined(_WIN32)
    XCloseDisplay(display);
#endif
    EXPECT_FALSE(Os::isWindow(handle));
    EXPECT_FALSE(Os::activateWindow(handle));
    EXPECT_FALSE(Os::isWindow(0));
}
