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

bool wasKilled(QProcess* process)
{
    return (process->state() == QProcess::NotRunning || process->waitForFinished(10000))
        && process->exitStatus() == QProcess::CrashExit;
}

// A spared process is still there a moment later; a signalled one is not.
bool stillRuns(QProcess* process)
{
    return !process->waitForFinished(300) && process->state() == QProcess::Running;
}

} // namespace

class ProcessKillerTest : public QObject {
    Q_OBJECT

    QString executable;

private slots:
    void initTestCase()
    {
        executable = Platform::executableFileName(RemovalTest::makeProductNameUnique());
    }

    void killsEveryWholeNameMatchInOnePass()
    {
        ProcessCopies copies;
        QVERIFY(copies.isValid());
        // Two processes of the very file, one of a copy whose name differs only in case.
        const QList<QProcess*> matching { copies.start(executable), copies.start(executable),
            copies.start(executable.toUpper()) };
        QList<QProcess*> spared;
        for (const QString& name : { executable + " Launcher", executable + ".bak",
                 "x" + executable, executable.left(executable.size() - 1) })
            spared.append(copies.start(name));
        QVERIFY(!matching.contains(nullptr) && !spared.contains(nullptr));

        killProcesses({ executable });

        for (QProcess* process : matching)
            QVERIFY2(wasKilled(process), qPrintable(process->program()));
        for (QProcess* process : qAsConst(spared))
            QVERIFY2(stillRuns(process), qPrintable(process->program()));
    }

    void sparesItself()
    {
        // A copy of this test asks to end every process of its own name while a second copy
        // lingers: the second goes, the asking one returns normally. The copies sit beside this
        // executable, where the libraries it needs are found.
        const QString name = executable + QStringLiteral(" self");
        const QString self = QCoreApplication::applicationFilePath();
        ProcessCopies copies;
        QProcess* lingering = copies.start(
            name, self, { QString::fromLatin1(lingerSwitch) }, TestEnv::installDir());
        QProcess* asking = copies.start(
            name, self, { QString::fromLatin1(killOwnNameSwitch) }, TestEnv::installDir());
        QVERIFY(lingering && asking);

        QVERIFY(asking->waitForFinished(30000));
        QCOMPARE(asking->exitStatus(), QProcess::NormalExit);
        QCOMPARE(asking->exitCode(), 0);
        QVERIFY(wasKilled(lingering));
    }
};

// This executable also serves as the processes the self-check starts from copies of it.
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
