// The removal: which roots may go, what a pass removes and leaves, and the dialog that ends the
// running application first.

#include "entry/waits.h"
#include "removal/checkclosedlg.h"
#include "removal/deletiondecision.h"
#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "testenvironment.h"
#include "testfiles.h"

#include "platform.h"
#include "ternproductinfo.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>

namespace {

const QString kProduct = QStringLiteral("Tern Converter");

// The dialog's poll (1 s) and time-out (30 s) at a fiftieth. Written out rather than taken from
// Waits, so that a changed constant shows.
const double waitScale = 0.02;
const int pollMs = int(1000 * waitScale);
const int timeoutMs = int(30000 * waitScale);

// A user "u" whose music lives outside the home, two other accounts and two mounts.
ProtectedPlaces posixPlaces()
{
    return ProtectedPlaces::posix(QStringLiteral("/home/u"),
        { "/home/u/Desktop", "/home/u/.local/share", "/home/u/.config", "/home/u/.cache",
            "/home/u/.local/state", "/home/u/.local/bin", "/data/u/Music" },
        { "/home/other", "/var/lib/postgresql", "/nonexistent" }, { "/", "/mnt/usb", "/tmp" });
}

ProtectedPlaces windowsPlaces()
{
    QHash<QString, QString> environment;
    for (const char* pair : { "SystemRoot=C:\\Windows", "windir=C:\\WINDOWS",
             "ProgramFiles=C:\\Program Files", "ProgramFiles(x86)=C:\\Program Files (x86)",
             "ProgramW6432=C:\\Program Files", "ProgramData=C:\\ProgramData",
             "USERPROFILE=C:\\Users\\alice", "APPDATA=C:\\Users\\alice\\AppData\\Roaming",
             "LOCALAPPDATA=C:\\Users\\alice\\AppData\\Local",
             "TEMP=C:\\Users\\alice\\AppData\\Local\\Temp", "PUBLIC=C:\\Users\\Public" })
        environment.insert(QString(pair).section('=', 0, 0), QString(pair).section('=', 1));
    return ProtectedPlaces::windows(environment, { "D:\\Docs\\alice\\Documents" });
}

// A deletion pass over `root`: what it emitted in order, the bar's values and 0 for the end.
QList<int> runDeletion(const QString& root, RemovalOutcome* outcome = nullptr,
    const std::function<void()>& betweenScanAndRemoval = {})
{
    QList<int> events;
    FileDeletionThread thread { QDir(root), { root + QStringLiteral("/uninstaller"), kProduct } };
    QObject::connect(&thread, &FileDeletionThread::updateBar, [&](int value) { events << value; });
    QObject::connect(&thread, &FileDeletionThread::deleteComplete, [&] { events << 0; });
    if (betweenScanAndRemoval)
        QObject::connect(&thread, &FileDeletionThread::scanned, betweenScanAndRemoval);
    thread.start(QThread::InheritPriority);
    thread.wait();
    if (outcome)
        *outcome = thread.outcome();
    return events;
}

QList<int> countedTo(int last)
{
    QList<int> events;
    for (int i = 1; i <= last; ++i)
        events << i;
    return events << 0;
}

// Entries ending in "/" are directories, the others files.
bool writeFiles(const QString& root, const QStringList& relativePaths)
{
    for (const QString& path : relativePaths) {
        const QString target = root + QLatin1Char('/') + path;
        if (!(path.endsWith('/') ? QDir().mkpath(target) : TestEnv::writeFile(target, "x")))
            return false;
    }
    return true;
}

// The marks of an installation: a description naming `product` and the host executable.
bool writeInstallation(const QString& dir, const QString& product, bool withHost = true)
{
    return TestEnv::writeFile(
               dir + "/product.json", QStringLiteral("{\"name\":\"%1\"}").arg(product).toUtf8())
        && (!withHost || TestEnv::writeFile(dir + "/uninstaller", "host"));
}

// Opened as the wizard opens it; `trace` gets its signals in the order they come, polls aside.
std::unique_ptr<CheckCloseDlg> shownDialog(QStringList* trace)
{
    auto dialog = std::make_unique<CheckCloseDlg>(nullptr);
    using Signal = void (CheckCloseDlg::*)();
    for (const auto& [signal, name] :
        { std::pair<Signal, const char*> { &CheckCloseDlg::startKillCheck, "start" },
            { &CheckCloseDlg::completeKill, "kill" },
            { &CheckCloseDlg::completeKillTimeout, "timeout" } })
        QObject::connect(
            dialog.get(), signal, dialog.get(), [trace, name = name] { trace->append(name); });
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
}

} // namespace

class RemovalTest : public QObject {
    Q_OBJECT

    QTemporaryDir installations;
    InstallationMarks marks;
    QString product;
    std::unique_ptr<QTemporaryDir> scratch;
    QString root;

private slots:
    void initTestCase()
    {
        QVERIFY(installations.isValid());
        QVERIFY(QFile::link("/usr", installations.filePath("usr-link")));
        marks = { installations.filePath("good/uninstaller"), kProduct };
        QVERIFY(writeInstallation(installations.filePath("good"), kProduct));
        QVERIFY(writeInstallation(installations.filePath("other-product"), "Someone Else"));
        QVERIFY(writeInstallation(installations.filePath("no-host"), kProduct, false));
        QVERIFY(TestFiles::makeLink(installations.filePath("good/product.json"),
            installations.filePath("described-by-link/product.json")));
        QVERIFY(QFile::link(installations.filePath("good"), installations.filePath("good-link")));
        // Termination works machine-wide by executable name: suites running side by side must
        // never hit each other's processes.
        TestEnv::updateProduct({ { "name",
            TernProductInfo::instance()->productName({}) + ' '
                + QString::number(QCoreApplication::applicationPid()) } });
        product = Platform::executableFileName(TernProductInfo::instance()->productName({}));
        TestEnv::useWizardLog();
        Waits::setScale(waitScale);
    }

    // An installation of the product: two files.
    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        root = scratch->filePath(QStringLiteral("install"));
        QVERIFY(writeInstallation(root, kProduct));
        TestEnv::clearLog();
    }

    void cleanup()
    {
        TernSingleInstance::instance()->forceRunState(-1);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void roots_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("verdict");
        using D = DeletionDecision;
        using Groups = QList<QPair<D::Verdict, QStringList>>;
        // "@" stands for the folder of the installations made by initTestCase.
        const auto add = [&](bool windows, const Groups& groups) {
            for (const auto& group : groups) {
                for (const QString& path : group.second)
                    QTest::newRow(qPrintable((windows ? "windows " : "posix ") + path))
                        << windows << QString(path).replace('@', installations.path())
                        << int(group.first);
            }
        };
        add(false,
            Groups { { D::FileSystemRoot, { "/", "/usr/..", "/mnt/usb" } },
                { D::SystemFolder,
                    { "/usr", "/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu",
                        "/usr/share/doc", "/var/lib/dpkg", "/usr/libexec/foo", "/var/www",
                        "/usr/local/tern", "/etc/ssl", "/proc/self", "/srv/app", "/opt", "/home",
                        "@/usr-link" } },
                // Home, a folder holding the data home, the desktop, the parent of a standard
                // folder outside home.
                { D::PersonalFolder,
                    { "/home/u", "/home/u/.local", "/home/u/Desktop/", "/data/u" } },
                // Another user's home, a home of an unknown account.
                { D::OtherUsersHome, { "/home/other", "/home/stranger" } },
                { D::Missing, { "/opt/Tern Converter" } },
                // Without the marks, another product's description, no host executable, a
                // description that is a link.
                { D::NotThisProduct,
                    { "@", "@/other-product", "@/no-host", "@/described-by-link" } },
                { D::Accepted, { "@/good", "@/good-link" } } });
        add(true,
            Groups { { D::FileSystemRoot, { "C:\\", "d:", "\\\\server\\share", "\\\\?\\C:\\" } },
                { D::SystemFolder,
                    { "c:\\windows\\system32", "C:\\Windows.\\Temp", "C:\\PROGRAM FILES",
                        "C:/Program Files (x86)/", "C:\\ProgramData", "C:\\Users" } },
                // The profile, folders holding AppData and a known folder.
                { D::PersonalFolder,
                    { "C:\\Users\\Alice", "C:\\Users\\alice\\AppData", "D:\\Docs" } },
                { D::OtherUsersHome, { "C:\\Users\\bob" } },
                // Allowed places: only the folder's absence speaks on this system.
                { D::Missing,
                    { "C:\\Program Files\\Tern Converter",
                        "C:\\Users\\alice\\AppData\\Local\\Programs\\Tern",
                        "\\\\server\\share\\apps\\tern" } } });
    }

    void roots()
    {
        QFETCH(bool, windows);
        QFETCH(QString, path);
        const DeletionDecision decision
            = DeletionDecision::decide(path, windows ? windowsPlaces() : posixPlaces(), marks);
        QTEST(int(decision.verdict), "verdict");
        QCOMPARE(decision.accepted(), decision.detail.isEmpty());
    }

    void fileCount_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("directoriesListed");
        QTest::newRow("only the marks") << QStringList() << 2 << 1;
        QTest::newRow("nested") << QStringList { "a/b/c/d.txt", "a/e.txt", "f/" } << 4 << 5;
        QTest::newRow("setup tool counted")
            << QStringList { "unins000.exe", "unins000/x.dat" } << 4 << 2;
        QTest::newRow("hidden not counted") << QStringList { ".h", ".dir/f", "dir/.f" } << 2 << 2;
    }

    void fileCount()
    {
        QFETCH(QStringList, entries);
        QVERIFY(writeFiles(root, entries));
        QTEST(countInstallationFiles(QDir(root)), "files");
        QTEST(getFileCountLogged(QDir(root)), "files");
        QTEST(TestEnv::logMessages("debug").count("Uninstall getFileCount run!"),
            "directoriesListed");
    }

    // Without the marks: refused and told; a missing root: nothing emitted.
    void refusedOrMissingRoot()
    {
        const QString bare = scratch->filePath(QStringLiteral("bare"));
        QVERIFY(writeFiles(bare, { "keep.txt" }));
        QCOMPARE(runDeletion(scratch->filePath("not-there")), QList<int>());
        QCOMPARE(getFileCountLogged(QDir(scratch->filePath("not-there"))), 0);
        RemovalOutcome outcome;
        QCOMPARE(runDeletion(bare, &outcome), countedTo(0));
        QVERIFY(outcome.failed() && outcome.refused());
        QCOMPARE(getFileCountLogged(QDir(bare)), 1);
        QVERIFY(QFile::exists(bare + "/keep.txt"));
        QCOMPARE(TestEnv::leftovers(), QStringList { "refused root bare" });
        QVERIFY(TestEnv::logMessages("error").value(0).startsWith(
            "FileDeletionThread refused to delete "));
    }

    // A directory swapped after the scan, for a link to itself moved elsewhere or for another
    // directory, is not entered.
    void nothingOutsideIsTouched()
    {
        const QString outside = scratch->filePath(QStringLiteral("outside"));
        for (int i = 0; i < 100; ++i) {
            const QString file = QStringLiteral("/f%1.txt").arg(i);
            QVERIFY(writeFiles(outside, { "tree" + file })
                && writeFiles(root, { "by-link" + file, "by-dir" + file }));
        }

        RemovalOutcome outcome;
        const QList<int> events = runDeletion(root, &outcome, [&] {
            QVERIFY(QDir(root).rename("by-link", "moved"));
            QVERIFY(QFile::link(root + "/moved", root + "/by-link"));
            QVERIFY(QDir().rename(root + "/by-dir", outside + "/old"));
            QVERIFY(QDir().rename(outside + "/tree", root + "/by-dir"));
        });

        QCOMPARE(TestFiles::fingerprints(root + "/moved").size(), 100);
        QCOMPARE(TestFiles::fingerprints(root + "/by-dir").size(), 100);
        QCOMPARE(TestEnv::leftovers().filter("changed during removal ").size(), 201);
        QVERIFY(!outcome.failed());
        QCOMPARE(events, countedTo(outcome.attempted));
    }

    void mountPointIsLeftAlone()
    {
        const QString mounted = root + QStringLiteral("/mounted");
        QVERIFY(QDir().mkpath(mounted));
        if (::mount("tmpfs", QFile::encodeName(mounted).constData(), "tmpfs", 0, nullptr) != 0)
            QSKIP("mounting a file system needs privileges this run does not have");
        const auto unmount
            = qScopeGuard([&] { ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH); });
        QVERIFY(writeFiles(mounted, { "other-system.txt" }));
        RemovalOutcome outcome;
        runDeletion(root, &outcome);
        QCOMPARE(outcome.removedFiles, 2);
        QVERIFY(QFile::exists(mounted + "/other-system.txt"));
        QCOMPARE(
            TestEnv::leftovers().filter("mount point "), QStringList { "mount point mounted" });
        QVERIFY(TestEnv::logMessages("debug").contains(
            "FileDeletionThread leaves the mount point alone: " + mounted));
    }

    void answer_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("trace");
        QTest::newRow("continue ends it") << QStringLiteral("btnContinue") << "start kill";
        QTest::newRow("cancel leaves it") << QStringLiteral("btnCancel") << "";
        QTest::newRow("close leaves it") << QStringLiteral("btnClose") << "";
    }

    // The application as it is, nothing forced: a copy under the product's name that ignores
    // a request to end, as a program busy saving would.
    void answer()
    {
        QFETCH(QString, button);
        QFETCH(QString, trace);
        const bool ends = !trace.isEmpty();
        const QString ready = scratch->filePath(QStringLiteral("ready"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sh"), scratch->filePath(product)));
        QProcess application;
        application.start(
            scratch->filePath(product), { "-c", "trap '' TERM; : > \"$0\"; read line", ready });
        QTRY_VERIFY(QFile::exists(ready));
        QStringList heard;
        auto dialog = shownDialog(&heard);
        // The wizard's handler, connected later, finds the dialog already closed.
        bool visibleForLaterHandlers = false;
        connect(dialog.get(), &CheckCloseDlg::completeKill, this,
            [&] { visibleForLaterHandlers = dialog->isVisible(); });

        dialog->findChild<QAbstractButton*>(button)->click();

        QTRY_COMPARE(heard.join(' '), trace);
        QVERIFY(!dialog->isVisible() && !visibleForLaterHandlers);
        QCOMPARE(TestEnv::logMessages().contains(QStringLiteral("kill program:") + product), ends);
        // Nothing more, not even the time-out of this round.
        QTest::qWait(timeoutMs * 3 / 2);
        QCOMPARE(heard.join(' '), trace);
        QCOMPARE(application.state() == QProcess::NotRunning, ends);
    }

    void stillRunningTimesOutAfterThirtySeconds()
    {
        QStringList heard;
        auto dialog = shownDialog(&heard);
        QSignalSpy polls(dialog.get(), &CheckCloseDlg::completeKilling);
        TernSingleInstance::instance()->forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QTRY_COMPARE(heard.size(), 2);

        // Half-way through the first round's time-out the application runs again: the second
        // round gets a whole time-out of its own.
        QTest::qWait(timeoutMs / 2);
        TernSingleInstance::instance()->forceRunState(TernSingleInstance::Running);
        const int releasesBefore = TernSingleInstance::releaseCount();
        QElapsedTimer sinceSecondRound;
        sinceSecondRound.start();
        dialog->onKillPrograms();
        QTRY_VERIFY(!polls.isEmpty());
        TernSingleInstance::instance()->forceRunState(TernSingleInstance::RunningElevated);
        QTRY_VERIFY_WITH_TIMEOUT(heard.contains(QStringLiteral("timeout")), timeoutMs * 20);
        // A coarse timer may fire up to 5 % early.
        QVERIFY(sinceSecondRound.elapsed() >= timeoutMs * 9 / 10);
        const int polled = polls.count();
        QCOMPARE(TernSingleInstance::releaseCount() - releasesBefore, polled);
        QTest::qWait(pollMs * 10);

        // Continue once more: a fresh round that ends as soon as the application is gone.
        TernSingleInstance::instance()->forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QTRY_VERIFY(heard.endsWith(QStringLiteral("kill")));
        QVERIFY(polled >= 2);
        QCOMPARE(polls.count(), polled);
        QCOMPARE(heard.join(' '), QStringLiteral("start kill start timeout start kill"));
    }
};

UNINSTALL_TEST_MAIN(RemovalTest)
#include "tst_removal.moc"
