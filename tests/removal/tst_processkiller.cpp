#include "removal/processkiller.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include "platform.h"

#include <QFileInfo>
#include <QtTest>

#include <cstring>

namespace {

const char* const lingerSwitch = "--linger";
const char* const killOwnNameSwitch = "--kill-own-name";

bool hasEnded(QProcess* process)
{
    return process->state() == QProcess::NotRunning || process->waitForFinished(10000);
}

// A process that was spared is still there a moment later; one that was signalled is not.
bool stillRuns(QProcess* process)
{
    return !process->waitForFinished(300) && process->state() == QProcess::Running;
}

} // namespace

class ProcessKillerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killsEveryWholeNameMatchInOnePass();
    void sparesItself();

private:
    QString executable;
};

void ProcessKillerTest::initTestCase()
{
    executable = Platform::executableFileName(RemovalTest::makeProductNameUnique());
    QVERIFY(QFile::exists(QStringLiteral("/bin/sleep")));
}

void ProcessKillerTest::killsEveryWholeNameMatchInOnePass()
{
    ProcessCopies copies;
    QVERIFY(copies.isValid());
    // Two processes of the very file, one of a copy whose name differs only in case.
    QProcess* exact = copies.start(executable);
    QProcess* exactAgain = copies.start(executable);
    QProcess* otherCase = copies.start(executable.toUpper());
    QVERIFY(exact && exactAgain && otherCase);
    QList<QProcess*> spared;
    for (const QString& name :
        { executable + QStringLiteral(" Launcher"), executable + QStringLiteral(".bak"),
            QStringLiteral("x") + executable, executable.left(executable.size() - 1) }) {
        QProcess* process = copies.start(name);
        QVERIFY2(process, qPrintable(name));
        spared.append(process);
    }

    killProcesses({ executable });

    for (QProcess* process : { exact, exactAgain, otherCase }) {
        QVERIFY2(hasEnded(process), qPrintable(process->program()));
        QCOMPARE(process->exitStatus(), QProcess::CrashExit);
    }
    for (QProcess* process : qAsConst(spared))
        QVERIFY2(stillRuns(process), qPrintable(process->program()));
}

void ProcessKillerTest::sparesItself()
{
    // A copy of this test, run under a name of its own, asks to end every process of that
    // name while a second copy lingers: the second goes, the asking one returns normally.
    const QString name = executable + QStringLiteral(" self");
    const QString self = QCoreApplication::applicationFilePath();
    ProcessCopies copies;
    // Beside this executable, where the libraries it needs are found.
    const QString folder = TestEnv::installDir();
    QProcess* lingering = copies.start(name, self, { QString::fromLatin1(lingerSwitch) }, folder);
    QVERIFY(lingering);
    QProcess* asking = copies.start(name, self, { QString::fromLatin1(killOwnNameSwitch) }, folder);
    QVERIFY(asking);

    QVERIFY(asking->waitForFinished(30000));
    QCOMPARE(asking->exitStatus(), QProcess::NormalExit);
    QCOMPARE(asking->exitCode(), 0);
    QVERIFY(hasEnded(lingering));
    QCOMPARE(lingering->exitStatus(), QProcess::CrashExit);
}

// Besides running the tests, this executable serves as the processes that the self-check
// starts from copies of it.
int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], lingerSwitch) == 0) {
        QThread::sleep(120);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], killOwnNameSwitch) == 0) {
        killProcesses({ QFileInfo(Platform::executablePath()).fileName() });
        return 0;
    }
    TestEnv_initFramework(argc, argv);
    ProcessKillerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processkiller.moc"
