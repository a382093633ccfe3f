// The window's analytics events: each one at its trigger, with its category, action, label,
// type 1 and value 0, and nothing else sent with it.

#include "testenvironment.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

namespace {

enum Stage { Loading, Home, Reason, UpdateOffer, Uninstalling };

const QString kBuilt = QStringLiteral("built");
const QString kClose = QStringLiteral("close");

QWidget* child(QWidget* window, const QString& name)
{
    QWidget* widget = window->findChild<QWidget*>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

// "action|label" of every event sent since the last clear; fails on a malformed one.
QStringList sentEvents()
{
    QStringList sent;
    const QList<QJsonObject> events = TestEnv::analyticsEvents();
    for (const QJsonObject& event : events) {
        const QString action = event.value(QStringLiteral("action")).toString();
        if (event.value(QStringLiteral("category")).toString() != QLatin1String("offload_retention")
            || event.value(QStringLiteral("type")).toInt(-1) != 1
            || event.value(QStringLiteral("value")).toInt(-1) != 0)
            sent.append(QStringLiteral("malformed ") + action);
        else
            sent.append(
                action + QLatin1Char('|') + event.value(QStringLiteral("label")).toString());
    }
    return sent;
}

void startDragging(QWidget* window)
{
    QMouseEvent move(
        QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
}

} // namespace

class TestAnalyticsEvents : public QObject {
    Q_OBJECT

private:
    // Walks a test-mode wizard forward to `stage` with real clicks.
    bool walkTo(Uninstall* wizard, Stage stage)
    {
        auto* pages = qobject_cast<QStackedWidget*>(child(wizard, QStringLiteral("processPage")));
        if (stage == Loading)
            return pages->currentIndex() == 0;
        if (!QTest::qWaitFor([&] { return pages->currentIndex() == 1; }, 10000))
            return false;
        if (stage >= Reason) {
            QTest::mouseClick(child(wizard, QStringLiteral("btnContinue_1")), Qt::LeftButton);
            emit wizard->contentProfile()->uninstallCauseEmit(false,
                { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                    QStringLiteral("d"), QStringLiteral("e") },
                { { QStringLiteral("a"), QStringLiteral("Too slow") } },
                QStringLiteral("50 million"));
            qobject_cast<QCheckBox*>(child(wizard, QStringLiteral("a")))->click();
        }
        if (stage >= UpdateOffer)
            QTest::mouseClick(child(wizard, QStringLiteral("btnContinue_2")), Qt::LeftButton);
        if (stage >= Uninstalling)
            QTest::mouseClick(child(wizard, QStringLiteral("btnContinue_3")), Qt::LeftButton);
        const int page[] = { 0, 1, 2, 2, 3 };
        return pages->currentIndex() == page[stage];
    }

private slots:
    void initTestCase()
    {
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        TernSingleInstance::instance()->forceRunState(0);
    }

    void init() { TestEnv::clearAnalyticsEvents(); }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure a guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void eventAtItsTrigger_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("dragging");
        QTest::addColumn<QString>("trigger"); // a button's name, "close" or "built"
        QTest::addColumn<QStringList>("sent");

        const auto row = [](const char* name, Stage stage, const QString& trigger,
                             const QStringList& sent, bool dragging = false) {
            QTest::newRow(name) << int(stage) << dragging << trigger << sent;
        };
        row("window built", Loading, kBuilt, { QStringLiteral("show_start|") });
        row("continue on the home page", Home, QStringLiteral("btnContinue_1"),
            { QStringLiteral("btn_continue_homepage|") });
        row("continue on the reason page", Reason, QStringLiteral("btnContinue_2"),
            { QStringLiteral("btn_continue_reason|") });
        row("continue on the update offer", UpdateOffer, QStringLiteral("btnContinue_3"),
            { QStringLiteral("btn_continue_update|") });
        row("done", Uninstalling, QStringLiteral("btnComplete"), { QStringLiteral("btn_done|") });
        row("close while loading", Loading, kClose, { QStringLiteral("show_end|") });
        row("close on the uninstalling page", Uninstalling, QStringLiteral("btnClose"),
            { QStringLiteral("show_end|done") });
        // A button released at the end of a drag does nothing, but its event still goes out.
        row("continue at the end of a drag", Home, QStringLiteral("btnContinue_1"),
            { QStringLiteral("btn_continue_homepage|") }, true);
        row("done at the end of a drag", Uninstalling, QStringLiteral("btnComplete"),
            { QStringLiteral("btn_done|") }, true);
        row("close at the end of a drag", Reason, kClose, { QStringLiteral("show_end|reason") },
            true);
    }

    void eventAtItsTrigger()
    {
        QFETCH(int, stage);
        QFETCH(bool, dragging);
        QFETCH(QString, trigger);
        QFETCH(QStringList, sent);

        auto wizard = std::make_unique<Uninstall>();
        wizard->show();
        if (trigger == kBuilt) {
            QCOMPARE(sentEvents(), sent);
            return;
        }
        QVERIFY(walkTo(wizard.get(), Stage(stage)));
        if (dragging)
            startDragging(wizard.get());
        TestEnv::clearAnalyticsEvents();

        if (trigger == kClose) {
            QMetaObject::invokeMethod(wizard.get(), "close");
        } else {
            QWidget* button = child(wizard.get(), trigger);
            QVERIFY(button->isVisible() && button->isEnabled());
            qobject_cast<QAbstractButton*>(button)->click();
        }
        QCOMPARE(sentEvents(), sent);
    }
};

UNINSTALL_TEST_MAIN(TestAnalyticsEvents)
#include "tst_analyticsevents.moc"
