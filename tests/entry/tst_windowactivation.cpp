// On a real X server: a second start brings the running wizard's window back, mapped when it
// was iconified and raised above what covered it. That it builds no window of its own shows in
// tst_uninstallrun; the X11 calls on their own in tst_osbackend.

#include "testenvironment.h"
#include "wizardprocess.h"

#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const int kProcessTimeoutMs = 60000;

int mapState(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return -1;
    return attributes.map_state;
}

bool isUrgent(Display* display, Window window)
{
    XWMHints* hints = XGetWMHints(display, window);
    const bool urgent = hints && (hints->flags & XUrgencyHint);
    if (hints)
        XFree(hints);
    return urgent;
}

// Top-level windows from the bottom of the stack to the top.
QList<Window> stackingOrder(Display* display)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    QList<Window> order;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            order.append(children[i]);
    }
    if (children)
        XFree(children);
    return order;
}

// What a window manager's close button sends.
void requestClose(Display* display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

} // namespace

class TestWindowActivation : public QObject {
    Q_OBJECT

private:
    Display* m_display = nullptr;
    QString m_installation;
    QProcess m_first;
    Window m_window = 0;

private slots:
    void initTestCase()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            QSKIP("needs an X server");
        m_installation = WizardProcess::makeInstallation(QStringLiteral("activation"));
        QVERIFY(!m_installation.isEmpty());
        WizardProcess::start(m_first, m_installation);
        QTRY_VERIFY_WITH_TIMEOUT(WizardProcess::publishedHandle() != 0, kProcessTimeoutMs);
        m_window = Window(WizardProcess::publishedHandle());
        QTRY_COMPARE_WITH_TIMEOUT(mapState(m_display, m_window), IsViewable, kProcessTimeoutMs);
    }

    void cleanupTestCase()
    {
        if (!m_display)
            return;
        if (m_window)
            requestClose(m_display, m_window);
        // A close request in test mode ends the first wizard at once.
        QVERIFY(WizardProcess::finish(m_first, kProcessTimeoutMs).returned(0));
        XCloseDisplay(m_display);
    }

    void iconifiedAndCoveredWindowComesBackOnTop()
    {
        const Window cover = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0,
            DisplayWidth(m_display, 0), DisplayHeight(m_display, 0), 0, 0, 0);
        XMapRaised(m_display, cover);
        XUnmapWindow(m_display, m_window);
        XSync(m_display, False);
        QTRY_COMPARE(mapState(m_display, m_window), IsUnmapped);

        const WizardProcess::Run second = WizardProcess::run(m_installation, QString());
        QVERIFY(second.ended);
        QCOMPARE(second.exitCode, 0);

        QTRY_COMPARE(mapState(m_display, m_window), IsViewable);
        QTRY_VERIFY(
            stackingOrder(m_display).indexOf(m_window) > stackingOrder(m_display).indexOf(cover));
        QVERIFY(isUrgent(m_display, m_window));
        XDestroyWindow(m_display, cover);
        XSync(m_display, False);
    }
};

UNINSTALL_TEST_MAIN(TestWindowActivation)
#include "tst_windowactivation.moc"
