#include "os/windowactivation.h"

#if defined(PLATFORM_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

// On X11 a window of another process is reached through the display server; without a
// display there is nothing to bring to the front.

namespace Os {

#if defined(PLATFORM_HAVE_X11)

namespace {

int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Opens the display with errors silenced, so a stale handle is just "no window".
class DisplayConnection {
public:
    DisplayConnection()
        : m_display(XOpenDisplay(nullptr))
    {
        if (m_display)
            m_previous = XSetErrorHandler(ignoreXErrors);
    }
    ~DisplayConnection()
    {
        if (!m_display)
            return;
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
        XCloseDisplay(m_display);
    }
    Display* get() const { return m_display; }

private:
    Display* m_display;
    XErrorHandler m_previous = nullptr;
};

bool windowAttributes(Display* display, Window window, XWindowAttributes* attributes)
{
    return window != 0 && XGetWindowAttributes(display, window, attributes) != 0;
}

bool isIconic(Display* display, Window window, const XWindowAttributes& attributes)
{
    if (attributes.map_state != IsViewable)
        return true;
    const Atom wmState = XInternAtom(display, "WM_STATE", True);
    if (wmState == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false;
    if (XGetWindowProperty(
            display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data)
            == Success
        && data && count > 0 && format == 32) {
        iconic = reinterpret_cast<long*>(data)[0] == IconicState;
    }
    if (data)
        XFree(data);
    return iconic;
}

void requestActivation(Display* display, Window window)
{
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = active;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // source: a pager or similar tool acting for the user
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
        SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void demandAttention(Display* display, Window window)
{
    XWMHints* hints = XGetWMHints(display, window);
    XWMHints fresh {};
    XWMHints* target = hints ? hints : &fresh;
    target->flags |= XUrgencyHint;
    XSetWMHints(display, window, target);
    if (hints)
        XFree(hints);
}

} // namespace

bool isWindow(std::uintptr_t handle)
{
    DisplayConnection connection;
    XWindowAttributes attributes;
    return connection.get() && windowAttributes(connection.get(), Window(handle), &attributes);
}

bool activateWindow(std::uintptr_t handle)
{
    DisplayConnection connection;
    Display* display = connection.get();
    const Window window = Window(handle);
    XWindowAttributes attributes;
    if (!display || !windowAttributes(display, window, &attributes))
        return false;
    // Mapping an iconified window is how a client asks for it back (ICCCM 4.1.4).
    if (isIconic(display, window, attributes)) {
        XMapWindow(display, window);
        XSync(display, False);
    }
    XRaiseWindow(display, window);
    requestActivation(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XClearArea(display, window, 0, 0, 0, 0, True);
    demandAttention(display, window);
    XFlush(display);
    return true;
}

#else

bool isWindow(std::uintptr_t)
{
    return false;
}

bool activateWindow(std::uintptr_t)
{
    return false;
}

#endif

} // namespace Os
