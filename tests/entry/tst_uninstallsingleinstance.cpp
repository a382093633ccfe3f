// One wizard per product: a second start, made the way a user makes it (another uninstaller
// process from the same installation), stays out while the first runs and runs once it has
// ended; other products and a wizard that was killed never block a start.

#include "testenvironment.h"
#include "wizardprocess.h"
#include "wizardrunner.h"

#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include <QtTest>

namespace {

const int kProcessTimeoutMs = 60000;
const QString kRefused = QStringLiteral("uninstall is runnabled!");

int countDebugLines(const QString& message)
{
    return TestEnv::logMessages(QStringLiteral("debug")).count(message);
}

// A second wizard that shows its window and closes it through its own close button; true when
// it did so and ended with 0.
bool runsAndCloses(const QString& installation)
{
    const WizardProcess::Run run = WizardProcess::run(installation,
        WizardProcess::writeScript(QStringLiteral("close.txt"),
            { QStringLiteral("wait btnClose visible"), QStringLiteral("click btnClose") }),
        {}, kProcessTimeoutMs);
    return run.returned(0) && run.wrote("autopilot: done: click btnClose");
}

// A second start that must stay out: it ends with 0 without the autopilot ever finding a window.
bool staysOut(const QString& installation, const QStringList& environmentChanges = {})
{
    const WizardProcess::Run run = WizardProcess::run(installation,
        WizardProcess::writeScript(
            QStringLiteral("never.txt"), { QStringLiteral("wait UnInstallWindow visible 100000") }),
        {}, kProcessTimeoutMs, environmentChanges);
    return run.returned(0);
}

// Runs the wizard in this process, calls `whileShown` once its window is on screen, then
// closes it; returns main_entry's result.
int runWizardHere(const std::function<void(Uninstall*)>& whileShown)
{
    return WizardRunner::runMainEntry(
        {},
        [&](Uninstall* wizard) {
            whileShown(wizard);
            QMetaObject::invokeMethod(wizard, "close");
        },
        3 * kProcessTimeoutMs);
}

} // namespace

class TestUninstallSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
    }

    void init() { TestEnv::clearLog(); }

    void cleanup() { QVERIFY(!WizardRunner::visibleWizard()); }

    void secondStartStaysOut_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("same session") << QStringList();
        // An ssh, cron or sudo session of the same user sees other runtime and temporary folders.
        const QString elsewhere = TestEnv::sandboxRoot() + QStringLiteral("/elsewhere");
        QDir().mkpath(elsewhere);
        QTest::newRow("another session")
            << QStringList { "XDG_RUNTIME_DIR=" + elsewhere, "TMPDIR=" + elsewhere };
    }

    void secondStartStaysOut()
    {
        QFETCH(QStringList, environment);
        bool refused = false;
        const int result = runWizardHere([&](Uninstall* wizard) {
            QCOMPARE(
                UninstallSingleInstance::guardName(), QStringLiteral("Tern Converter_uninstall"));
            QCOMPARE(WizardProcess::publishedHandle(), quint32(wizard->winId()));
            QVERIFY(staysOut(TestEnv::installDir(), environment));
            QCOMPARE(countDebugLines(kRefused), 1);
            QCOMPARE(countDebugLines(QStringLiteral("Uninstall inint start!")), 1);
            QCOMPARE(countDebugLines(QStringLiteral("ceipg init!")), 1);
            QVERIFY(wizard->isVisible());
            refused = true;
        });
        QCOMPARE(result, 0);
        QVERIFY(refused);
    }

    void startAfterTheFirstEndedRuns()
    {
        QCOMPARE(runWizardHere([](Uninstall*) {}), 0);
        QVERIFY(runsAndCloses(TestEnv::installDir()));
        QCOMPARE(countDebugLines(kRefused), 0);
    }

    void otherProductsRunAlongside_data()
    {
        QTest::addColumn<QString>("product");
        QTest::newRow("another product") << QStringLiteral("Tern Editor");
        // Longer than any file name: the keys must still fit.
        QTest::newRow("a product with a very long name")
            << QStringLiteral("Tern Long Name ").repeated(13);
    }

    void otherProductsRunAlongside()
    {
        QFETCH(QString, product);
        const QString other = WizardProcess::makeInstallation(
            QStringLiteral("other-") + QString::number(product.size()), {}, product);
        QVERIFY(!other.isEmpty());
        runWizardHere([&](Uninstall*) { QVERIFY(runsAndCloses(other)); });
        QCOMPARE(countDebugLines(kRefused), 0);
    }

    void killedWizardDoesNotBlock()
    {
        const QString installation = WizardProcess::makeInstallation(QStringLiteral("killed"));
        QVERIFY(!installation.isEmpty());
        QProcess killed;
        WizardProcess::start(killed, installation);
        QTRY_VERIFY_WITH_TIMEOUT(WizardProcess::publishedHandle() != 0, kProcessTimeoutMs);
        killed.kill();
        QVERIFY(killed.waitForFinished(kProcessTimeoutMs));

        // The segment it leaves behind is taken over and guards again: a start alongside
        // stays out, and this window is the one published.
        bool shown = false;
        runWizardHere([&](Uninstall* wizard) {
            shown = true;
            QCOMPARE(WizardProcess::publishedHandle(), quint32(wizard->winId()));
            QVERIFY(staysOut(installation));
            QCOMPARE(countDebugLines(kRefused), 1);
        });
        QVERIFY(shown);

        // And nothing stale is left for the start after that.
        QVERIFY(runsAndCloses(installation));
    }
};

UNINSTALL_TEST_MAIN(TestUninstallSingleInstance)
#include "tst_uninstallsingleinstance.moc"
