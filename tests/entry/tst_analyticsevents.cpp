// The window's analytics events: each one at its trigger, with its category, action, label,
// type 1 and value 0, and nothing else sent with it.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QStackedWidget>
#include <QtTest>

namespace {

const int kLoading = -1;
const QString kBuilt = QStringLiteral("built");
const QString kClose = QStringLiteral("close");

// "action|label" of every event sent since the last clear; "malformed action" for one that is.
QStringList sentEvents()
{
    QStringList sent;
    for (const QJsonObject& event : TestEnv::analyticsEvents()) {
        const QString action = event.value(QStringLiteral("action")).toString();
        if (event.value(QStringLiteral("category")).toString() != QLatin1String("offload_retention")
            || event.value(QStringLiteral("type")).toInt(-1) != 1
            || event.value(QStringLiteral("value")).toInt(-1) != 0)
            sent << QStringLiteral("malformed ") + action;
        else
            sent << action + QLatin1Char('|') + event.value(QStringLiteral("label")).toString();
    }
    return sent;
}

} // namespace

class TestAnalyticsEvents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TernSingleInstance::instance()->forceRunState(0); }

    void init() { TestEnv::clearAnalyticsEvents(); }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure a guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void eventAtItsTrigger_data()
    {
        QTest::addColumn<int>("page"); // where the wizard is walked to
        QTest::addColumn<bool>("dragging");
        QTest::addColumn<QString>("trigger"); // a button's name, "close" or "built"
        QTest::addColumn<QString>("sent");

        using W = WizardRunner::Page;
        const auto row = [](const char* name, int page, const QString& trigger, const char* sent,
                             bool dragging = false) {
            QTest::newRow(name) << page << dragging << trigger << QString::fromLatin1(sent);
        };
        row("window built", kLoading, kBuilt, "show_start|");
        row("continue on the home page", W::Home, "btnContinue_1", "btn_continue_homepage|");
        row("continue on the reason page", W::Reason, "btnContinue_2", "btn_continue_reason|");
        row("continue on the update offer", W::UpdateOffer, "btnContinue_3",
            "btn_continue_update|");
        row("done", W::Uninstalling, "btnComplete", "btn_done|");
        // The page-end event names the page the user left.
        row("close while loading", kLoading, kClose, "show_end|");
        row("close on the home page", W::Home, kClose, "show_end|homepage");
        row("close on the update offer", W::UpdateOffer, kClose, "show_end|update");
        row("close on the uninstalling page", W::Uninstalling, "btnClose", "show_end|done");
        // A button released at the end of a drag does nothing, but its event still goes out.
        row("continue at the end of a drag", W::Home, "btnContinue_1", "btn_continue_homepage|",
            true);
        row("done at the end of a drag", W::Uninstalling, "btnComplete", "btn_done|", true);
        row("close at the end of a drag", W::Reason, kClose, "show_end|reason", true);
    }

    void eventAtItsTrigger()
    {
        QFETCH(int, page);
        QFETCH(bool, dragging);
        QFETCH(QString, trigger);
        QFETCH(QString, sent);

        const std::unique_ptr<Uninstall> wizard = WizardRunner::showWizard(true);
        if (page == kLoading)
            QCOMPARE(
                WizardRunner::child<QStackedWidget>(wizard.get(), "processPage")->currentIndex(),
                0);
        else
            QVERIFY(WizardRunner::walkTo(wizard.get(), WizardRunner::Page(page)));
        if (trigger != kBuilt) {
            if (dragging)
                WizardRunner::startDragging(wizard.get());
            TestEnv::clearAnalyticsEvents();
        }

        if (trigger == kClose) {
            QMetaObject::invokeMethod(wizard.get(), "close");
        } else if (trigger != kBuilt) {
            auto* button = WizardRunner::child<QAbstractButton>(wizard.get(), qPrintable(trigger));
            QVERIFY(button->isVisible() && button->isEnabled());
            button->click();
        }
        QCOMPARE(sentEvents(), QStringList { sent });
    }
};

UNINSTALL_TEST_MAIN(TestAnalyticsEvents)
#include "tst_analyticsevents.moc"
