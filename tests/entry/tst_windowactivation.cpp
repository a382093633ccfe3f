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

private slots:
    void iconifiedAndCoveredWindowComesBackOnTop()
    {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            QSKIP("needs an X server");
        const QString installation = WizardProcess::makeInstallation(QStringLiteral("activation"));
        QVERIFY(!installation.isEmpty());
        QProcess first;
        WizardProcess::start(first, installation);
        QTRY_VERIFY_WITH_TIMEOUT(WizardProcess::publishedHandle() != 0, kProcessTimeoutMs);
        const Window window = Window(WizardProcess::publishedHandle());
        QTRY_COMPARE_WITH_TIMEOUT(mapState(display, window), IsViewable, kProcessTimeoutMs);

        const Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
            DisplayWidth(display, 0), DisplayHeight(display, 0), 0, 0, 0);
        XMapRaised(display, cover);
        XUnmapWindow(display, window);
        XSync(display, False);
        QTRY_COMPARE(mapState(display, window), IsUnmapped);

        QVERIFY(WizardProcess::run(installation, QString()).returned(0));

        QTRY_COMPARE(mapState(display, window), IsViewable);
        QTRY_VERIFY(stackingOrder(display).indexOf(window) > stackingOrder(display).indexOf(cover));
        XWMHints* hints = XGetWMHints(display, window);
        QVERIFY(hints && (hints->flags & XUrgencyHint));
        XFree(hints);

        // What a window manager's close button sends; in test mode the wizard ends at once.
        XEvent event {};
        event.xclient = { ClientMessage, 0, False, display, window,
            XInternAtom(display, "WM_PROTOCOLS", False), 32, {} };
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, window, False, NoEventMask, &event);
        XCloseDisplay(display);
        QVERIFY(WizardProcess::finish(first, kProcessTimeoutMs).returned(0));
    }
};

UNINSTALL_TEST_MAIN(TestWindowActivation)
#include "tst_windowactivation.moc"
