// On a real X server: a second start shows nothing of its own and brings the running
// wizard's window back, mapped when it was iconified and raised above what covered it.

#include "testenvironment.h"
#include "wizardprocess.h"

#include <QProcess>
#include <QtTest>

#include <X11/Xatom.h>
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

long windowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (pidAtom != None
        && XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
               &count, &after, &data)
            == Success
        && data && count == 1) {
        pid = *reinterpret_cast<long*>(data);
    }
    if (data)
        XFree(data);
    return pid;
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

    void startSecond()
    {
        QProcess second;
        WizardProcess::start(second, m_installation);
        QVERIFY(second.waitForFinished(kProcessTimeoutMs));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

private slots:
    void initTestCase()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            QSKIP("needs an X server");
        m_installation = WizardProcess::makeTestInstallation(QStringLiteral("activation"));
        QVERIFY(!m_installation.isEmpty());
        WizardProcess::start(m_first, m_installation);
        QTRY_VERIFY_WITH_TIMEOUT(WizardProcess::publishedHandle() != 0, kProcessTimeoutMs);
        m_window = Window(WizardProcess::publishedHandle());
        QTRY_COMPARE_WITH_TIMEOUT(mapState(m_display, m_window), IsViewable, kProcessTimeoutMs);
        QCOMPARE(windowPid(m_display, m_window), long(m_first.processId()));
    }

    void cleanupTestCase()
    {
        if (!m_display)
            return;
        if (m_window)
            requestClose(m_display, m_window);
        // A close request in test mode ends the first wizard at once.
        QVERIFY(m_first.waitForFinished(kProcessTimeoutMs));
        QCOMPARE(m_first.exitCode(), 0);
        XCloseDisplay(m_display);
    }

    void iconifiedWindowIsRestored()
    {
        XUnmapWindow(m_display, m_window);
        XSync(m_display, False);
        QTRY_COMPARE(mapState(m_display, m_window), IsUnmapped);
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
        XSync(m_display, True);

        startSecond();

        QTRY_COMPARE(mapState(m_display, m_window), IsViewable);
        QVERIFY(isUrgent(m_display, m_window));
        // The second start mapped nothing of its own.
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == MapNotify)
                QCOMPARE(event.xmap.window, m_window);
        }
        XSelectInput(m_display, DefaultRootWindow(m_display), NoEventMask);
    }

    void coveredWindowIsRaised()
    {
        const Window cover = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0,
            DisplayWidth(m_display, 0), DisplayHeight(m_display, 0), 0, 0, 0);
        XMapRaised(m_display, cover);
        XSync(m_display, False);
        QVERIFY(
            stackingOrder(m_display).indexOf(m_window) < stackingOrder(m_display).indexOf(cover));

        startSecond();

        QTRY_VERIFY(
            stackingOrder(m_display).indexOf(m_window) > stackingOrder(m_display).indexOf(cover));
        QCOMPARE(mapState(m_display, m_window), IsViewable);
        XDestroyWindow(m_display, cover);
        XSync(m_display, False);
    }
};

UNINSTALL_TEST_MAIN(TestWindowActivation)
#include "tst_windowactivation.moc"
