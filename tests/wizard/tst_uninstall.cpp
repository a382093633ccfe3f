// The wizard window driven with real clicks and keys: start-up state, style properties, the page
// machine with its running-program check, the drag guard, the ways out and, last, a real removal
// with the close that reports it. On an X server with a window manager, which the test starts,
// so that the running-program dialog shows where a real desktop puts it.

#include "loopbackserver.h"
#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/waits.h"
#include "removal/checkclosedlg.h"
#include "removal/filedeletionthread.h"
#include "widgets/frmuser.h"
#include "wizard/uninstall.h"

#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QtTest>
#include <QtWidgets>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace WizardRunner;

namespace {

enum Stop { Loading = -1, Finished = Uninstalling + 1 };

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

class TestUninstall : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    UrlRecorder m_browser;
    Display* m_display = nullptr;
    QProcess m_windowManager;
    // The report service: it refuses every report the first time, so only a re-sent one lands.
    QSet<QByteArray> m_refused;
    LoopbackServer m_service;

    int timesPosted(const QByteArray& report = {}) const
    {
        int count = 0;
        for (const LoopbackServer::Request& request : m_service.requests())
            count += report.isEmpty() || request.body == report;
        return count;
    }

    std::unique_ptr<Uninstall> openAt(int stop, bool testMode = true)
    {
        auto wizard = showWizard(testMode);
        if (stop != Loading && !walkTo(wizard.get(), Page(qMin(stop, int(Uninstalling)))))
            return nullptr;
        if (stop == Finished)
            child<QAbstractButton>(wizard.get(), "btnComplete")->click();
        return wizard;
    }

private slots:
    void initTestCase()
    {
        m_service.setHandler(QStringLiteral("/report"), [this](const LoopbackServer::Request& r) {
            if (m_refused.contains(r.body))
                return LoopbackServer::Response::ok({});
            m_refused.insert(r.body);
            return LoopbackServer::Response::error(503);
        });
        QVERIFY(m_service.listen());
        TestEnv::setExtendParam(
            QStringLiteral("uninstallReportUrl"), m_service.address(QStringLiteral("/report")));
        setUpHost(&m_context);
        Waits::setScale(0.01);
        m_display = XOpenDisplay(nullptr);
        QVERIFY(m_display);
        m_windowManager.start(
            QStandardPaths::findExecutable(QStringLiteral("openbox")), { "--sm-disable" });
        QVERIFY2(m_windowManager.waitForStarted(), "no openbox: scripts/setup.sh installs it");
        // A window manager owns the selection of its screen once it manages windows.
        QTRY_VERIFY_WITH_TIMEOUT(
            XGetSelectionOwner(m_display, XInternAtom(m_display, "WM_S0", False)) != None, 20000);
    }

    void init()
    {
        qApp->setStyleSheet(QString());
        uninstallAborted = false;
        TernSingleInstance::instance()->forceRunState(0);
        TestEnv::clearLog();
        TestEnv::clearAnalyticsEvents();
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void cleanupTestCase()
    {
        // The page flow makes sure the guard exists; its segment must not outlive the test.
        UninstallSingleInstance::destroy();
        m_windowManager.terminate();
        QVERIFY(m_windowManager.waitForFinished());
        XCloseDisplay(m_display);
    }

    // The host finds the slots by their place in the meta object.
    void slotsInContractOrder()
    {
        const QMetaObject& meta = Uninstall::staticMetaObject;
        QStringList found;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Slot)
                found << QString::fromLatin1(meta.method(i).methodSignature());
        }
        QCOMPARE(found.join(QLatin1Char(' ')),
            QStringLiteral("changePage() close() updateBar(int) completeSlot() showFinally() "
                           "onPurchaseDlgSlot() onBtnContinueEnableSlot() updateApp() "
                           "uninstallSkin(QString,QString) recApp(QVector<RecApp>) "
                           "on_uninstallCause_slot(bool,QVector<QString>,QMap<QString,QString>,"
                           "QString) uninstallCause() loadFinishedSlot() on_changeLanguage(int) "
                           "loadDownLoadRes()"));
    }

    void startState_data()
    {
        QTest::addColumn<bool>("testMode");
        QTest::newRow("normal") << false;
        QTest::newRow("test mode") << true;
    }

    // Without a skin, the offer sentence, which needs the skin's colour and weight lists, stays
    // empty. The progress bar shows the deletion's count as it is.
    void startState()
    {
        QFETCH(bool, testMode);
        auto wizard = showWizard(testMode);
        QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        QCOMPARE(child<QLabel>(wizard.get(), "titleLab")->text(),
            QStringLiteral("Uninstall Tern Converter"));
        QCOMPARE(child(wizard.get(), "btnComplete")->isHidden(), !testMode);
        QCOMPARE(child(wizard.get(), "changeLangFrame")->isHidden(), !testMode);
        QCOMPARE(child<QComboBox>(wizard.get(), "comboBox")->currentText(), QStringLiteral("en"));
        for (const char* name : { "optionFrame", "btnContinue_2", "causeEdit" })
            QVERIFY2(!child(wizard.get(), name)->isEnabled(), name);
        QVERIFY(child<QLabel>(wizard.get(), "purchaseLab")->text().isEmpty());
        QVERIFY(child<QLabel>(wizard.get(), "updateTipLab")
                    ->text()
                    .contains(QStringLiteral("line-height: %1")));
        auto* progress = child<QProgressBar>(wizard.get(), "progressBar");
        QCOMPARE(progress->value(), 0);
        QCOMPARE(progress->maximum(), Uninstall::getFileCount(QDir(TestEnv::installDir())));
        QVERIFY(QMetaObject::invokeMethod(wizard.get(), "updateBar", Q_ARG(int, 1)));
        QCOMPARE(progress->value(), 1);
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("1.0 0"));
    }

    void placement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short thanks") << QStringLiteral("Thanks");
        QTest::newRow("long thanks") << QStringLiteral(
            "Thank you for your use and feedback, it helps us a lot. Uninstalling...");
    }

    // The sticker and the user-count frame sit where the skin's offsets put them.
    void placement()
    {
        QFETCH(QString, text);
        auto wizard = showWizard(false);
        wizard->setProperty("textMinWidth", 300);
        wizard->setProperty("textFixWidth", 20);
        wizard->setProperty("pruchasePos", QSize(7, -3));
        wizard->setProperty("frmUserPos", QSize(11, -5));
        auto* think = child<QLabel>(wizard.get(), "thinkLab");
        think->setText(text);
        wizard->grab();

        const int measured = QFontMetrics(think->font()).boundingRect(text).width();
        QCOMPARE(think->width(), measured >= 300 ? 300 : measured + 20);
        QWidget* frame = child(wizard.get(), "framePurchase");
        const QPoint corner = frame->mapTo(wizard.get(), QPoint(frame->width() - 1, 0));
        QCOMPARE(child(wizard.get(), "uninstall_Sticker1")->pos(), corner + QPoint(7, -3));
        QWidget* hint = child(wizard.get(), "hintImg");
        QCOMPARE(wizard->findChild<FrmUser*>()->pos(),
            QPoint((hint->width() - 1) / 2 + 11, (hint->height() - 1) / 2 - 5));
        QVERIFY(!child(wizard.get(), "frameHintLab")->isVisibleTo(wizard.get()));
        QVERIFY(!child(wizard.get(), "frameUpdateLab_2")->isVisibleTo(wizard.get()));
        // A skin's list keeps its empty parts; an empty value leaves the list as it was.
        for (const char* colours : { "#a**", "" })
            wizard->setProperty("textColor", QString::fromLatin1(colours));
        QCOMPARE(wizard->textColors(), (QStringList { "#a", "", "" }));
    }

    // The update offer waits while the product runs: the dialog asks to end it, the buttons wait
    // for the end, and the dialog asks again when the program outlives its 30 s. (tst_pages
    // dismisses the dialog with Escape.) The dialog opens centred over the wizard, wherever that
    // is, and is the wizard's to the window manager: transient for it, so it stays over it and
    // has no taskbar entry of its own.
    void runningProgramHoldsTheUpdateOffer()
    {
        // "Continue" ends processes by the product's name: none but ours may carry it.
        TestEnv::updateProduct(QJsonObject { { QStringLiteral("name"),
            QStringLiteral("Tern Converter %1").arg(QCoreApplication::applicationPid()) } });
        const auto restore = qScopeGuard([] {
            TestEnv::updateProduct(
                { { QStringLiteral("name"), QStringLiteral("Tern Converter") } });
        });
        auto wizard = showWizard(true);
        QVERIFY(QTest::qWaitForWindowExposed(wizard.get()));
        wizard->move(400, 420);
        const Window wizardWindow = Window(wizard->winId());
        QTRY_COMPARE(screenGeometry(m_display, wizardWindow).topLeft(), QPoint(400, 420));
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        TernSingleInstance::instance()->forceRunState(15);
        QTest::mouseClick(child(wizard.get(), "btnContinue_3"), Qt::LeftButton);
        QCOMPARE(where(wizard.get()), QStringLiteral("2.1 0"));
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(wizard->firstReport().isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        Window owner = 0;
        QVERIFY(XGetTransientForHint(m_display, Window(dialog->winId()), &owner));
        QCOMPARE(owner, wizardWindow);
        QTRY_VERIFY((screenGeometry(m_display, Window(dialog->winId())).center()
                        - screenGeometry(m_display, wizardWindow).center())
                        .manhattanLength()
            <= 2);
        const auto buttons = [&wizard] {
            QString state = child<QAbstractButton>(wizard.get(), "btnContinue_3")->text();
            for (const char* name : { "btnContinue_3", "btnUpdate", "btnCancel_3" })
                state += QLatin1Char(child(wizard.get(), name)->isEnabled() ? '+' : '-');
            return state;
        };
        QSignalSpy timedOut(dialog, &CheckCloseDlg::completeKillTimeout);
        QElapsedTimer killing;
        killing.start();
        press(Qt::Key_Return, dialog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(buttons(), QStringLiteral("Continuing---"));
        QVERIFY(timedOut.wait(5000));
        QVERIFY2(killing.elapsed() >= Waits::scaled(30000) / 2, "gave up before the 30 s");
        QVERIFY(dialog->isVisible());
        QCOMPARE(buttons(), QStringLiteral("Continue+++"));

        child<QAbstractButton>(dialog, "btnContinue")->click();
        TernSingleInstance::instance()->forceRunState(0);
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
        QCOMPARE(buttons(), QStringLiteral("Continue+++"));
        QVERIFY(!dialog->isVisible());
    }

    // Every handler ignores the release that ends a drag, and works again afterwards.
    void dragGuard_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("button");
        QTest::newRow("continue") << int(Home) << QStringLiteral("btnContinue_1");
        QTest::newRow("cancel") << int(Home) << QStringLiteral("btnCancel_1");
        QTest::newRow("title bar close") << int(Reason) << QStringLiteral("btnClose");
        QTest::newRow("upgrade now") << int(UpdateOffer) << QStringLiteral("btnUpdate");
        QTest::newRow("done") << int(Uninstalling) << QStringLiteral("btnComplete");
    }

    void dragGuard()
    {
        QFETCH(int, page);
        QFETCH(QString, button);
        auto wizard = openAt(page);
        QVERIFY(wizard);
        const QString before = where(wizard.get());
        auto* target = child<QAbstractButton>(wizard.get(), qPrintable(button));
        startDragging(wizard.get());
        QVERIFY(wizard->isDragging());
        QVERIFY(!quitsOn([target] { target->click(); }, 300));
        QCOMPARE(where(wizard.get()), before);
        QVERIFY(!uninstallAborted);

        QTest::mouseRelease(wizard.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!wizard->isDragging());
        QVERIFY(quitsOn([target] { target->click(); }, 300) || where(wizard.get()) != before);
    }

    // Before the removal every way out ends the wizard at once, tells the host that nothing was
    // removed and reports nothing. (Cancel on the home page is tst_uninstallrun's.)
    void waysOut_data()
    {
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<int>("stop");
        QTest::addColumn<QString>("door"); // a button, or "Escape"
        QTest::addColumn<bool>("aborted");
        const auto row
            = [](const char* name, bool testMode, int stop, const char* door, bool aborted = true) {
                  QTest::newRow(name) << testMode << stop << QString(door) << aborted;
              };
        row("loading, Escape", true, Loading, "Escape");
        row("home, Escape", true, Home, "Escape");
        row("reason, Escape", true, Reason, "Escape");
        row("update offer, Escape", true, UpdateOffer, "Escape");
        row("finished, Escape", true, Finished, "Escape", false);
        row("home, title bar", false, Home, "btnClose");
        row("reason, Cancel", false, Reason, "btnCancel_2");
        row("update offer, Cancel", false, UpdateOffer, "btnCancel_3");
    }

    void waysOut()
    {
        QFETCH(bool, testMode);
        QFETCH(int, stop);
        QFETCH(QString, door);
        auto wizard = openAt(stop, testMode);
        QVERIFY(wizard);
        if (stop == Loading)
            QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        TestEnv::clearLog();
        const int posted = timesPosted();
        QVERIFY(quitsOn([&] {
            if (door == QLatin1String("Escape"))
                press(Qt::Key_Escape, wizard.get());
            else
                child<QAbstractButton>(wizard.get(), qPrintable(door))->click();
        }));
        QTEST(uninstallAborted, "aborted");
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
        QVERIFY(wizard->secondReport().isEmpty());
        QCOMPARE(timesPosted(), posted);
    }

    void languageChoiceEndsTheWizard()
    {
        auto wizard = showWizard(true);
        QVERIFY(quitsOn([&] { child<QComboBox>(wizard.get(), "comboBox")->setCurrentIndex(1); }));
        QVERIFY(uninstallAborted);
        QCOMPARE(TernSettings::instance()->language(QStringLiteral("en")), QStringLiteral("de"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
    }

    // Runs last: the removal empties the installation this test runs from. While it runs there
    // is no way out; once it ends, closing hides the window at once and the wizard ends when the
    // service has taken both reports, re-sent as often as it refused them.
    void removesThenReportsOnClose()
    {
        auto wizard = showWizard(false);
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        QTest::mouseClick(child(wizard.get(), "btnContinue_3"), Qt::LeftButton);
        // The end of the removal reaches the window through its event queue.
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
        QVERIFY(!child(wizard.get(), "btnClose")->isVisible());
        press(Qt::Key_Escape, wizard.get());
        press(Qt::Key_Return, wizard.get());
        QVERIFY(!TestEnv::logMessages().contains(QStringLiteral("Uninstall close!")));
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("3.1 1"));
        QVERIFY(wizard->hasRemoved() && !wizard->removal().failed());
        QVERIFY(!child(wizard.get(), "frameBar")->isVisible());
        QVERIFY(child(wizard.get(), "btnClose")->isVisible());

        bool hiddenAtOnce = false;
        QVERIFY(quitsOn([&] {
            QTest::mouseClick(child(wizard.get(), "btnClose"), Qt::LeftButton);
            hiddenAtOnce = !wizard->isVisible();
        }));
        QVERIFY(hiddenAtOnce);
        QVERIFY(!uninstallAborted);
        QVERIFY(timesPosted(wizard->firstReport()) >= 2);
        QVERIFY(timesPosted(wizard->secondReport()) >= 2);
        QCOMPARE(m_browser.opened.size(), 1);
    }
};

UNINSTALL_TEST_MAIN(TestUninstall)
#include "tst_uninstall.moc"
