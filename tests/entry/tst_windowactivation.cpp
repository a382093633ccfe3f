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
    return XGetWindowAttributes(display, window, &attributes) ? attributes.map_state : -1;
}

// Top-level windows from the bottom of the stack to the top.
QList<Window> stackingOrder(Display* display)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    const QList<Window> order(children, children + count);
    XFree(children);
    return order;
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
        // What a window manager's close button sends; in test mode the wizard ends at once.
        XEvent event {};
        event.xclient = { ClientMessage, 0, False, m_display, m_window,
            XInternAtom(m_display, "WM_PROTOCOLS", False), 32, {} };
        event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        XSendEvent(m_display, m_window, False, NoEventMask, &event);
        XFlush(m_display);
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
        QVERIFY(second.ended && second.exitCode == 0);

        QTRY_COMPARE(mapState(m_display, m_window), IsViewable);
        QTRY_VERIFY(
            stackingOrder(m_display).indexOf(m_window) > stackingOrder(m_display).indexOf(cover));
        XWMHints* hints = XGetWMHints(m_display, m_window);
        QVERIFY(hints && (hints->flags & XUrgencyHint));
        XFree(hints);
        XDestroyWindow(m_display, cover);
        XSync(m_display, False);
    }
};

UNINSTALL_TEST_MAIN(TestWindowActivation)
#include "tst_windowactivation.moc"
