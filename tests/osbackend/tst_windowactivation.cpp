// Window activation needs a display: the test runs under xvfb-run, here and under Wine.

#include "os/windowactivation.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace {

// A top-level window of this process, minimised as a user minimises one.
class MinimisedWindow {
public:
#if defined(_WIN32)
    MinimisedWindow()
    {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OsBackendTestWindow";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"backend test",
            WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(m_window, SW_SHOWMINIMIZED);
    }
    ~MinimisedWindow()
    {
        close();
    }
    bool isValid() const
    {
        return m_window && IsIconic(m_window);
    }
    std::uintptr_t handle() const
    {
        return reinterpret_cast<std::uintptr_t>(m_window);
    }
    bool isRestored() const
    {
        return !IsIconic(m_window) && IsWindowVisible(m_window);
    }
    void close()
    {
        if (m_window)
            DestroyWindow(m_window);
        m_window = nullptr;
    }

private:
    HWND m_window = nullptr;
#else
    // Without a window manager an iconified window is an unmapped one.
    MinimisedWindow()
        : m_display(XOpenDisplay(nullptr))
    {
        if (!m_display)
            return;
        m_window
            = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 320, 200, 0, 0, 0);
        XSync(m_display, False);
    }
    ~MinimisedWindow()
    {
        close();
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool isValid() const
    {
        return m_window != 0;
    }
    std::uintptr_t handle() const
    {
        return m_window;
    }
    bool isRestored() const
    {
        XWindowAttributes attributes;
        XSync(m_display, False);
        if (!XGetWindowAttributes(m_display, m_window, &attributes))
            return false;
        XWMHints* hints = XGetWMHints(m_display, m_window);
        const bool urgent = hints && (hints->flags & XUrgencyHint);
        if (hints)
            XFree(hints);
        return attributes.map_state == IsViewable && urgent;
    }
    void close()
    {
        if (m_window)
            XDestroyWindow(m_display, m_window);
        XSync(m_display, False);
        m_window = 0;
    }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
#endif
};

} // namespace

TEST(WindowActivation, MinimisedWindowComesBack)
{
    MinimisedWindow window;
    ASSERT_TRUE(window.isValid()) << "no display to make a window on";
    const std::uintptr_t handle = window.handle();
    EXPECT_TRUE(Os::isWindow(handle));
    EXPECT_TRUE(Os::activateWindow(handle));
    EXPECT_TRUE(window.isRestored());

    window.close();
    EXPECT_FALSE(Os::isWindow(handle));
    EXPECT_FALSE(Os::activateWindow(handle));
    EXPECT_FALSE(Os::isWindow(0));
}
