// The window's analytics events: each one at its trigger, with its category, action, label,
// type 1 and value 0, and nothing else sent with it.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QtTest>

using namespace WizardRunner;

class TestAnalyticsEvents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TernSingleInstance::instance()->forceRunState(0); }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure a guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void eventAtItsTrigger_data()
    {
        QTest::addColumn<int>("page"); // -1: still loading
        QTest::addColumn<bool>("dragging");
        QTest::addColumn<QString>("trigger"); // a button's name, "close" or "" for the start
        QTest::addColumn<QString>("sent"); // action|label
        const auto row = [](const char* name, int page, const char* trigger, const char* sent,
                             bool dragging = false) {
            QTest::newRow(name) << page << dragging << QString(trigger) << QString(sent);
        };
        row("window built", -1, "", "show_start|");
        row("continue on the home page", Home, "btnContinue_1", "btn_continue_homepage|");
        row("continue on the reason page", Reason, "btnContinue_2", "btn_continue_reason|");
        row("continue on the update offer", UpdateOffer, "btnContinue_3", "btn_continue_update|");
        row("done", Uninstalling, "btnComplete", "btn_done|");
        // The page-end event names the page the user left.
        row("close while loading", -1, "close", "show_end|");
        row("close on the home page", Home, "close", "show_end|homepage");
        row("close on the update offer", UpdateOffer, "close", "show_end|update");
        row("close on the uninstalling page", Uninstalling, "btnClose", "show_end|done");
        // A button released at the end of a drag does nothing, but its event still goes out.
        row("continue at the end of a drag", Home, "btnContinue_1", "btn_continue_homepage|", true);
        row("done at the end of a drag", Uninstalling, "btnComplete", "btn_done|", true);
        row("close at the end of a drag", Reason, "close", "show_end|reason", true);
    }

    void eventAtItsTrigger()
    {
        QFETCH(int, page);
        QFETCH(bool, dragging);
        QFETCH(QString, trigger);
        QFETCH(QString, sent);
        TestEnv::clearAnalyticsEvents();
        const std::unique_ptr<Uninstall> wizard = showWizard(true);
        if (page < 0)
            QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        else
            QVERIFY(walkTo(wizard.get(), Page(page)));
        if (dragging)
            startDragging(wizard.get());
        if (!trigger.isEmpty())
            TestEnv::clearAnalyticsEvents();
        if (trigger == QLatin1String("close"))
            QMetaObject::invokeMethod(wizard.get(), "close");
        else if (!trigger.isEmpty())
            child<QAbstractButton>(wizard.get(), qPrintable(trigger))->click();
        QCOMPARE(analytics({ "category", "action", "label", "type", "value" }),
            QStringList { QStringLiteral("offload_retention|%1|1|0").arg(sent) });
    }
};

UNINSTALL_TEST_MAIN(TestAnalyticsEvents)
#include "tst_analyticsevents.moc"
