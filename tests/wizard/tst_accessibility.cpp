// Every page worked with the keyboard alone and told to assistive technology: Tab walks each
// page's controls in reading order, Return goes on, Escape takes the page's way out, and every
// control carries a name that tells it apart.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/waits.h"
#include "removal/checkclosedlg.h"
#include "removal/filedeletionthread.h"
#include "wizard/uninstall.h"

#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDesktopServices>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QtTest>

using namespace WizardRunner;

namespace {

enum Stop { Loading, HomePage, ReasonPage, UpdatePage, RemovalPage, Finished, Dialog };

// A key where the window system sends it: to the focus widget, else to the active window.
void press(int key, QWidget* window, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

QString focused()
{
    const QWidget* widget = QApplication::focusWidget();
    return widget ? widget->objectName() : QStringLiteral("<none>");
}

// Tabs until `name` has the focus; false when a whole round of the window does not reach it.
bool tabTo(QWidget* window, const QString& name)
{
    for (int i = 0; i < 30 && focused() != name; ++i)
        press(Qt::Key_Tab, window);
    return focused() == name;
}

// The controls a user can reach on what is shown: buttons, boxes, editors, the progress bar.
QList<QWidget*> visibleControls(QWidget* window)
{
    QList<QWidget*> controls;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        const bool control = qobject_cast<QAbstractButton*>(widget)
            || qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget)
            || qobject_cast<QComboBox*>(widget) || qobject_cast<QProgressBar*>(widget)
            || (widget->focusPolicy() & Qt::TabFocus);
        if (control && widget->isVisible() && !qobject_cast<QComboBox*>(widget->parentWidget()))
            controls.append(widget);
    }
    return controls;
}

// The window the user works in at `stop`.
QWidget* windowAt(Uninstall* wizard, int stop)
{
    if (stop == Dialog)
        return wizard->findChild<CheckCloseDlg*>();
    return wizard;
}

QAccessibleInterface* accessible(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    UrlRecorder m_browser;

    // A wizard in test mode at `stop`; the running-program dialog shows over the update offer.
    // The loading page is caught before the content arrives, so before the window is active.
    std::unique_ptr<Uninstall> openAt(Stop stop)
    {
        TernSingleInstance::instance()->forceRunState(0);
        auto wizard = showWizard(true);
        if (stop == Loading)
            return wizard;
        if (!QTest::qWaitForWindowActive(wizard.get()))
            return nullptr;
        const Page page = stop == Dialog ? UpdateOffer
            : stop >= RemovalPage        ? Uninstalling
                                         : Page(stop - 1);
        if (!walkTo(wizard.get(), page))
            return nullptr;
        if (stop == Finished)
            child<QAbstractButton>(wizard.get(), "btnComplete")->click();
        if (stop == Dialog) {
            TernSingleInstance::instance()->forceRunState(15);
            child<QAbstractButton>(wizard.get(), "btnContinue_3")->click();
        }
        return wizard;
    }

private slots:
    void initTestCase()
    {
        // "Continue" in the dialog ends processes by the product's name: none but ours may
        // carry it.
        TestEnv::updateProduct(QJsonObject { { QStringLiteral("name"),
            QStringLiteral("Tern Converter %1").arg(QCoreApplication::applicationPid()) } });
        setUpHost(&m_context);
        Waits::setScale(0.01);
        TernResourceMgr::instance()->setCurrentSkin(QString());
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
    }

    void init()
    {
        uninstallAborted = false;
        TestEnv::clearLog();
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        UninstallSingleInstance::destroy();
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("stop");
        QTest::addColumn<QString>("order");
        // The sample product recommends four applications: one page, no arrows.
        const QString cards = QStringLiteral("btnRecUrl btnRecUrl btnRecUrl btnRecUrl");
        QTest::newRow("home") << int(HomePage)
                              << "btnClose frmPurchaseBtn btnContinue_1 btnCancel_1 comboBox";
        QTest::newRow("reason")
            << int(ReasonPage)
            << "btnClose btnDiscount a b c d e causeEdit btnContinue_2 btnCancel_2 comboBox";
        QTest::newRow("update offer") << int(
            UpdatePage) << "btnClose btnDiscount btnContinue_3 btnUpdate btnCancel_3 comboBox";
        QTest::newRow("removal") << int(RemovalPage)
                                 << "btnClose " + cards + QStringLiteral(" btnComplete comboBox");
        QTest::newRow("finished") << int(
            Finished) << "btnClose " + cards + QStringLiteral(" emailEdit btnComplete comboBox");
        QTest::newRow("running-program dialog") << int(Dialog) << "btnClose btnContinue btnCancel";
    }

    // From the window, which holds the focus until the user tabs, once round each page.
    void tabOrder()
    {
        QFETCH(int, stop);
        QFETCH(QString, order);
        auto wizard = openAt(Stop(stop));
        QVERIFY(wizard);
        QWidget* window = windowAt(wizard.get(), stop);
        QTRY_COMPARE(QApplication::focusWidget(), window);
        QList<QWidget*> round;
        QStringList names;
        for (int i = 0; i < 30; ++i) {
            press(Qt::Key_Tab, window);
            if (round.contains(QApplication::focusWidget()))
                break;
            round << QApplication::focusWidget();
            names << focused();
        }
        QCOMPARE(names.join(QLatin1Char(' ')), order);
    }

    // Loading, home, reason, update offer, removal and Done without a mouse.
    void walksWithKeysOnly()
    {
        auto wizard = openAt(Loading);
        QVERIFY(QTest::qWaitForWindowActive(wizard.get()));
        QCOMPARE(QApplication::focusWidget(), wizard.get());
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("1.0 0"));

        press(Qt::Key_Return, wizard.get());
        QCOMPARE(where(wizard.get()), QStringLiteral("2.0 0"));
        QVERIFY(tabTo(wizard.get(), QStringLiteral("crash")));
        press(Qt::Key_Space, wizard.get());
        QVERIFY(child<QAbstractButton>(wizard.get(), "crash")->isChecked());
        QVERIFY(tabTo(wizard.get(), QStringLiteral("causeEdit")));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Too slow"));
        press(Qt::Key_Tab, wizard.get());
        QCOMPARE(focused(), QStringLiteral("btnContinue_2"));
        QCOMPARE(
            child<QTextEdit>(wizard.get(), "causeEdit")->toPlainText(), QStringLiteral("Too slow"));

        press(Qt::Key_Return, wizard.get());
        QCOMPARE(where(wizard.get()), QStringLiteral("2.1 0"));
        press(Qt::Key_Return, wizard.get());
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
        QVERIFY(wizard->firstReport().contains("Too slow"));

        QVERIFY(tabTo(wizard.get(), QStringLiteral("btnComplete")));
        press(Qt::Key_Return, wizard.get());
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 1"));
        press(Qt::Key_Tab, wizard.get(), Qt::ShiftModifier);
        QCOMPARE(focused(), QStringLiteral("emailEdit"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("me@example.com"));
        press(Qt::Key_Return, wizard.get());
        QVERIFY(TestEnv::analyticsEvents().last().value(QStringLiteral("action")) == "btn_done");
        QVERIFY(wizard->isVisible());
    }

    void escapeLeaves_data()
    {
        QTest::addColumn<int>("stop");
        QTest::addColumn<bool>("aborted");
        QTest::newRow("loading") << int(Loading) << true;
        QTest::newRow("home") << int(HomePage) << true;
        QTest::newRow("reason") << int(ReasonPage) << true;
        QTest::newRow("update offer") << int(UpdatePage) << true;
        QTest::newRow("finished") << int(Finished) << false;
    }

    // Escape does what the page's Cancel, or its close button, does: in test mode the wizard
    // ends at once, with nothing to report.
    void escapeLeaves()
    {
        QFETCH(int, stop);
        QFETCH(bool, aborted);
        auto wizard = openAt(Stop(stop));
        QVERIFY(wizard);
        if (stop == Loading)
            QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        TestEnv::clearLog();
        press(Qt::Key_Escape, wizard.get());
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
        QCOMPARE(uninstallAborted, aborted);
    }

    // Escape in the dialog leaves the update offer as it is; Return ends the program.
    void dialogKeys()
    {
        auto wizard = openAt(Dialog);
        QVERIFY(wizard);
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        press(Qt::Key_Escape, dialog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(where(wizard.get()), QStringLiteral("2.1 0"));

        // As a window manager does when a dialog goes.
        wizard->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), wizard.get());
        child<QAbstractButton>(wizard.get(), "btnContinue_3")->click();
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QSignalSpy started(dialog, &CheckCloseDlg::startKillCheck);
        press(Qt::Key_Return, dialog);
        QCOMPARE(started.count(), 1);
        TernSingleInstance::instance()->forceRunState(0);
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
    }

    void controlsAreNamed_data()
    {
        QTest::addColumn<int>("stop");
        QTest::newRow("loading") << int(Loading);
        QTest::newRow("home") << int(HomePage);
        QTest::newRow("reason") << int(ReasonPage);
        QTest::newRow("update offer") << int(UpdatePage);
        QTest::newRow("removal") << int(RemovalPage);
        QTest::newRow("finished") << int(Finished);
        QTest::newRow("running-program dialog") << int(Dialog);
    }

    // No control without a name, and no two controls of a page with the same one.
    void controlsAreNamed()
    {
        QFETCH(int, stop);
        auto wizard = openAt(Stop(stop));
        QVERIFY(wizard);
        QWidget* window = windowAt(wizard.get(), stop);
        QVERIFY(!accessible(window)->text(QAccessible::Name).isEmpty());
        QMap<QString, QString> names;
        const QList<QWidget*> controls = visibleControls(window);
        QVERIFY(controls.size() >= 2);
        for (QWidget* control : controls) {
            const QString name = accessible(control)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
            QVERIFY2(!names.contains(name),
                qPrintable(name + QStringLiteral(": ") + control->objectName()
                    + QStringLiteral(", ") + names.value(name)));
            names.insert(name, control->objectName());
        }
    }

    // What a screen reader says of the controls that are something else underneath.
    void rolesAndLabels()
    {
        auto wizard = openAt(Finished);
        QVERIFY(wizard);
        QAccessibleInterface* buy = accessible(child(wizard.get(), "frmPurchaseBtn"));
        QCOMPARE(buy->role(), QAccessible::Button);
        QCOMPARE(buy->text(QAccessible::Name),
            QStringLiteral("Buy Now with %1% OFF").arg(wizard->discount()));
        QCOMPARE(accessible(child(wizard.get(), "purchaseImg"))->role(), QAccessible::Graphic);
        QCOMPARE(accessible(child(wizard.get(), "emailEdit"))->text(QAccessible::Name),
            QStringLiteral("Email:"));
        const auto links = wizard->findChildren<QAbstractButton*>(QStringLiteral("btnRecUrl"));
        QVERIFY(!links.isEmpty());
        QCOMPARE(accessible(links.first())->text(QAccessible::Name),
            QStringLiteral("Learn More about ")
                + links.first()
                      ->parentWidget()
                      ->parentWidget()
                      ->findChild<QLabel*>(QStringLiteral("recName"))
                      ->text());

        // Pressed through assistive technology, the frame buys as a click does.
        m_browser.opened.clear();
        buy->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_browser.opened,
            QList<QUrl> { QUrl(TernProductInfo::instance()->purchaseUrl(QString(), nullptr)) });
    }

    // Runs last: in normal mode the removal empties the installation this test runs from.
    void escapeWaitsForTheRemoval()
    {
        TernSingleInstance::instance()->forceRunState(0);
        auto wizard = showWizard(false);
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        child<QAbstractButton>(wizard.get(), "btnContinue_3")->click();
        // The end of the removal reaches the window through its event queue, so it is still
        // going on here.
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
        press(Qt::Key_Escape, wizard.get());
        press(Qt::Key_Return, wizard.get());
        QVERIFY(wizard->isVisible());
        QVERIFY(!uninstallAborted);
        QVERIFY(!TestEnv::logMessages().contains(QStringLiteral("Uninstall close!")));
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("3.1 1"));
    }
};

UNINSTALL_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
