// On a real X server with a window manager: the running-program dialog is a dialog of the
// wizard (transient for it, so it stays over it and has no taskbar entry of its own) and opens
// centred over the wizard, wherever the wizard is.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "removal/checkclosedlg.h"
#include "wizard/uninstall.h"

#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace WizardRunner;

namespace {

// Where the X server has the window, on the screen.
QRect screenGeometry(Display* display, Window window)
{
    XSync(display, False);
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(display, window, &attributes)
        || !XTranslateCoordinates(
            display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return QRect();
    return QRect(x, y, attributes.width, attributes.height);
}

} // namespace

class TestDialogWindow : public QObject {
    Q_OBJECT

private:
    Display* m_display = nullptr;
    QProcess m_windowManager;
    UninstallContext m_context;

private slots:
    void initTestCase()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            QSKIP("needs an X server");
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        QVERIFY2(!openbox.isEmpty(), "openbox is missing: scripts/setup.sh installs it");
        m_windowManager.start(openbox, { QStringLiteral("--sm-disable") });
        QVERIFY(m_windowManager.waitForStarted());
        // A window manager owns the selection of its screen once it manages windows.
        QTRY_VERIFY_WITH_TIMEOUT(
            XGetSelectionOwner(m_display, XInternAtom(m_display, "WM_S0", False)) != None, 20000);
        setUpHost(&m_context);
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void cleanupTestCase()
    {
        UninstallSingleInstance::destroy();
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            QVERIFY(m_windowManager.waitForFinished());
        }
        if (m_display)
            XCloseDisplay(m_display);
    }

    void centredAndTransient_data()
    {
        QTest::addColumn<QPoint>("wizardAt");
        QTest::newRow("where the window manager put the wizard") << QPoint(-1, -1);
        QTest::newRow("wizard moved to the top left") << QPoint(20, 10);
        QTest::newRow("wizard moved to the bottom right") << QPoint(400, 420);
    }

    void centredAndTransient()
    {
        QFETCH(QPoint, wizardAt);
        TernSingleInstance::instance()->forceRunState(0);
        auto wizard = showWizard(true);
        QVERIFY(QTest::qWaitForWindowExposed(wizard.get()));
        const Window wizardWindow = Window(wizard->winId());
        if (wizardAt.x() >= 0) {
            wizard->move(wizardAt);
            QTRY_COMPARE(screenGeometry(m_display, wizardWindow).topLeft(), wizardAt);
        }
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        TernSingleInstance::instance()->forceRunState(15);
        child<QAbstractButton>(wizard.get(), "btnContinue_3")->click();
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        const Window dialogWindow = Window(dialog->winId());

        Window owner = 0;
        QVERIFY(XGetTransientForHint(m_display, dialogWindow, &owner));
        QCOMPARE(owner, wizardWindow);
        const auto offCentre = [&] {
            const QPoint gap = screenGeometry(m_display, dialogWindow).center()
                - screenGeometry(m_display, wizardWindow).center();
            return gap.manhattanLength();
        };
        QTRY_VERIFY(offCentre() <= 2);
        dialog->hide();
    }
};

UNINSTALL_TEST_MAIN(TestDialogWindow)
#include "tst_dialogwindow.moc"
