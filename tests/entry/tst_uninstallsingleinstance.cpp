// One wizard per product: a second start, made the way a user makes it (another uninstaller
// process from the same installation), stays out while the first runs and runs once it has
// ended; other products and a wizard that was killed never block a start.

#include "testenvironment.h"
#include "wizardprocess.h"
#include "wizardrunner.h"

#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include <QProcess>
#include <QtTest>

namespace {

const int kProcessTimeoutMs = 60000;

int countDebugLines(const QString& message)
{
    return TestEnv::logMessages(QStringLiteral("debug")).count(message);
}

QString hostExecutableDir()
{
    return TestEnv::installDir();
}

// A wizard that shows its window and closes it again through its own close button.
QString closeAtOnceScript()
{
    return WizardProcess::writeScript(QStringLiteral("close.txt"),
        { QStringLiteral("wait btnClose visible"), QStringLiteral("click btnClose") });
}

bool ranAndClosed(QProcess& process)
{
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
        && process.readAllStandardError().contains("autopilot: done: click btnClose");
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

    void secondStartStaysOut()
    {
        bool refused = false;
        const int result = runWizardHere([&](Uninstall* wizard) {
            QCOMPARE(
                UninstallSingleInstance::guardName(), QStringLiteral("Tern Converter_uninstall"));
            QCOMPARE(WizardProcess::publishedHandle(), quint32(wizard->winId()));
            const int windowsBuilt = countDebugLines(QStringLiteral("Uninstall inint start!"));

            QProcess second;
            WizardProcess::start(second, hostExecutableDir(), closeAtOnceScript());
            QVERIFY(second.waitForFinished(kProcessTimeoutMs));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);

            QCOMPARE(countDebugLines(QStringLiteral("uninstall is runnabled!")), 1);
            QCOMPARE(countDebugLines(QStringLiteral("Uninstall inint start!")), windowsBuilt);
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
        QProcess next;
        WizardProcess::start(next, hostExecutableDir(), closeAtOnceScript());
        QVERIFY(next.waitForFinished(kProcessTimeoutMs));
        QVERIFY(ranAndClosed(next));
        QCOMPARE(countDebugLines(QStringLiteral("uninstall is runnabled!")), 0);
    }

    void otherProductsRunAlongside()
    {
        const QString other = WizardProcess::makeTestInstallation(
            QStringLiteral("other"), QStringLiteral("Tern Editor"));
        QVERIFY(!other.isEmpty());
        runWizardHere([&](Uninstall*) {
            QProcess editor;
            WizardProcess::start(editor, other, closeAtOnceScript());
            QVERIFY(editor.waitForFinished(kProcessTimeoutMs));
            QVERIFY(ranAndClosed(editor));
        });
        QCOMPARE(countDebugLines(QStringLiteral("uninstall is runnabled!")), 0);
    }

    void killedWizardDoesNotBlock()
    {
        const QString installation = WizardProcess::makeTestInstallation(QStringLiteral("killed"));
        QVERIFY(!installation.isEmpty());
        QProcess killed;
        WizardProcess::start(killed, installation);
        QTRY_VERIFY_WITH_TIMEOUT(WizardProcess::publishedHandle() != 0, kProcessTimeoutMs);
        killed.kill();
        QVERIFY(killed.waitForFinished(kProcessTimeoutMs));
        QCOMPARE(killed.exitStatus(), QProcess::CrashExit);

        // The segment it leaves behind is taken over and guards again: a start alongside
        // stays out, and this window is the one published.
        bool shown = false;
        runWizardHere([&](Uninstall* wizard) {
            shown = true;
            QCOMPARE(WizardProcess::publishedHandle(), quint32(wizard->winId()));
            QProcess second;
            WizardProcess::start(second, hostExecutableDir());
            QVERIFY(second.waitForFinished(kProcessTimeoutMs));
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(countDebugLines(QStringLiteral("uninstall is runnabled!")), 1);
        });
        QVERIFY(shown);

        // And nothing stale is left for the start after that.
        QProcess next;
        WizardProcess::start(next, installation, closeAtOnceScript());
        QVERIFY(next.waitForFinished(kProcessTimeoutMs));
        QVERIFY(ranAndClosed(next));
    }
};

UNINSTALL_TEST_MAIN(TestUninstallSingleInstance)
#include "tst_uninstallsingleinstance.moc"
