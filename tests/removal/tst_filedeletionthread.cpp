#include "removal/deletionguard.h"
#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

const int completeMark = 0;

// What the thread emitted, in order: the bar values, then completeMark for deleteComplete.
std::vector<int> runDeletion(const QString& root)
{
    std::vector<int> events;
    FileDeletionThread thread { QDir(root) };
    QObject::connect(
        &thread, &FileDeletionThread::updateBar, [&events](int value) { events.push_back(value); });
    QObject::connect(&thread, &FileDeletionThread::deleteComplete,
        [&events] { events.push_back(completeMark); });
    thread.start(QThread::InheritPriority);
    thread.wait();
    return events;
}

std::vector<int> countedTo(int last)
{
    std::vector<int> events;
    for (int i = 1; i <= last; ++i)
        events.push_back(i);
    events.push_back(completeMark);
    return events;
}

// Everything below root, hidden entries included, links not followed; relative and sorted.
QStringList treeBelow(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(root).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

bool writeFiles(const QString& root, const QStringList& relativePaths)
{
    for (const QString& path : relativePaths) {
        if (path.endsWith(QLatin1Char('/'))) {
            if (!QDir().mkpath(root + QLatin1Char('/') + path))
                return false;
        } else if (!TestEnv::writeFile(root + QLatin1Char('/') + path, path.toUtf8())) {
            return false;
        }
    }
    return true;
}

int countMessages(const QString& message)
{
    return TestEnv::logMessages(QStringLiteral("debug")).count(message);
}

} // namespace

class FileDeletionThreadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void deletesAllButTheSetupToolAndHiddenEntries();
    void countsFilesOfTheSameTree();
    void fileCount_data();
    void fileCount();
    void emptyRootOnlyCompletes();
    void missingRootEmitsNothing();
    void refusedRootIsLeftAlone_data();
    void refusedRootIsLeftAlone();
    void destroyingARunningThreadWaitsForIt();

private:
    void buildSampleTree();

    std::unique_ptr<QTemporaryDir> rootDir;
    std::unique_ptr<QTemporaryDir> outsideDir;
    QString root;
    QString outside;
    bool permissionsEnforced = true;
};

void FileDeletionThreadTest::initTestCase()
{
    RemovalTest::openLog();
}

void FileDeletionThreadTest::init()
{
    rootDir = std::make_unique<QTemporaryDir>();
    outsideDir = std::make_unique<QTemporaryDir>();
    QVERIFY(rootDir->isValid() && outsideDir->isValid());
    root = rootDir->path() + QStringLiteral("/install");
    outside = outsideDir->path();
    QVERIFY(QDir().mkpath(root));
    permissionsEnforced = RemovalTest::permissionsEnforced(rootDir->path());
    TestEnv::clearLog();
}

void FileDeletionThreadTest::cleanup()
{
    QFile::setPermissions(
        root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    rootDir.reset();
    outsideDir.reset();
}

// The installation as a test sees it: the setup tool's files, a capitalised look-alike that is
// no such file, hidden entries, a read-only directory, two levels of sub-directories and links
// that lead out of the installation.
void FileDeletionThreadTest::buildSampleTree()
{
    QVERIFY(writeFiles(root,
        { QStringLiteral("unins000.exe"), QStringLiteral("unins000.dat"),
            QStringLiteral("myunins000.txt"), QStringLiteral("unins000/inner.txt"),
            QStringLiteral("unins000/deeper/x.txt"), QStringLiteral("Unins000.txt"),
            QStringLiteral("app.bin"), QStringLiteral(".hidden"),
            QStringLiteral(".cache/cache.dat"), QStringLiteral("bin/tool.so"),
            QStringLiteral("bin/plugins/codec.so"),
            QStringLiteral("bin/plugins/Unins000Data/d.txt"), QStringLiteral("data/readme.txt"),
            QStringLiteral("data/.settings"), QStringLiteral("locked/f.txt") }));
    QVERIFY(writeFiles(outside, { QStringLiteral("o.txt"), QStringLiteral("sub/p.txt") }));
    QVERIFY(QFile::link(outside, root + QStringLiteral("/outside")));
    QVERIFY(
        QFile::link(outside + QStringLiteral("/o.txt"), root + QStringLiteral("/outside-file")));
    QVERIFY(QFile::setPermissions(
        root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::ExeOwner));
}

void FileDeletionThreadTest::deletesAllButTheSetupToolAndHiddenEntries()
{
    buildSampleTree();

    const std::vector<int> events = runDeletion(root);

    // Files: Unins000.txt, app.bin, tool.so, codec.so, d.txt, readme.txt, f.txt and the two
    // links; directories: bin, plugins, Unins000Data, data, locked.
    QCOMPARE(events, countedTo(9 + 5));
    QStringList expected { QStringLiteral(".cache"), QStringLiteral(".cache/cache.dat"),
        QStringLiteral(".hidden"), QStringLiteral("data"), QStringLiteral("data/.settings"),
        QStringLiteral("myunins000.txt"), QStringLiteral("unins000"),
        QStringLiteral("unins000.dat"), QStringLiteral("unins000.exe"),
        QStringLiteral("unins000/deeper"), QStringLiteral("unins000/deeper/x.txt"),
        QStringLiteral("unins000/inner.txt") };
    if (permissionsEnforced)
        expected << QStringLiteral("locked") << QStringLiteral("locked/f.txt");
    expected.sort();
    QCOMPARE(treeBelow(root), expected);
    QCOMPARE(treeBelow(outside),
        QStringList(
            { QStringLiteral("o.txt"), QStringLiteral("sub"), QStringLiteral("sub/p.txt") }));

    const QStringList log = TestEnv::logMessages();
    QVERIFY(log.contains(QStringLiteral("FileDeletionThread init!")));
    QVERIFY(log.contains(QStringLiteral("FileDeletionThread start!")));
    QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                .contains(QStringLiteral("data: delete failed")));
}

void FileDeletionThreadTest::countsFilesOfTheSameTree()
{
    buildSampleTree();
    // All files but the hidden ones, the setup tool's included; each link counts once and the
    // directory one of them leads to is not entered.
    QCOMPARE(countInstallationFiles(QDir(root)), 14);
    QCOMPARE(getFileCountLogged(QDir(root)), 14);
    // The root, unins000, deeper, bin, plugins, Unins000Data, data and locked.
    QCOMPARE(countMessages(QStringLiteral("Uninstall getFileCount run!")), 8);
}

void FileDeletionThreadTest::fileCount_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("directoriesListed");
    QTest::newRow("empty") << QStringList() << 0 << 1;
    QTest::newRow("files at the root") << QStringList { "a.txt", "b.dll" } << 2 << 1;
    QTest::newRow("nested") << QStringList { "a/b/c/d.txt", "a/e.txt" } << 2 << 4;
    QTest::newRow("setup tool counted")
        << QStringList { "unins000.exe", "unins000/x.dat" } << 2 << 2;
    QTest::newRow("hidden not counted") << QStringList { ".h", ".dir/f", "dir/.f" } << 0 << 2;
    QTest::newRow("directories not counted") << QStringList { "a/", "a/b/" } << 0 << 3;
}

void FileDeletionThreadTest::fileCount()
{
    QFETCH(QStringList, entries);
    QFETCH(int, files);
    QFETCH(int, directoriesListed);
    QVERIFY(writeFiles(root, entries));
    QCOMPARE(countInstallationFiles(QDir(root)), files);
    QCOMPARE(getFileCountLogged(QDir(root)), files);
    QCOMPARE(countMessages(QStringLiteral("Uninstall getFileCount run!")), directoriesListed);
}

void FileDeletionThreadTest::emptyRootOnlyCompletes()
{
    QCOMPARE(runDeletion(root), countedTo(0));
    QVERIFY(QFileInfo(root).isDir());
}

void FileDeletionThreadTest::missingRootEmitsNothing()
{
    const QString missing = root + QStringLiteral("/not-there");
    QCOMPARE(runDeletion(missing), std::vector<int>());
    QVERIFY(TestEnv::logMessages().contains(QStringLiteral("FileDeletionThread start!")));
    QCOMPARE(getFileCountLogged(QDir(missing)), 0);
}

void FileDeletionThreadTest::refusedRootIsLeftAlone_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("home") << QDir::homePath();
    QTest::newRow("the folder holding home") << QFileInfo(QDir::homePath()).absolutePath();
    QTest::newRow("home through a link") << QStringLiteral("link-to-home");
}

void FileDeletionThreadTest::refusedRootIsLeftAlone()
{
    QFETCH(QString, target);
    // Only the sandbox's own home may stand in for a real one here.
    const QString sandbox = qEnvironmentVariable("UNINSTALL_SANDBOX");
    if (sandbox.isEmpty() || !QDir::homePath().startsWith(sandbox + QLatin1Char('/')))
        QSKIP("needs the sandbox's home folder");
    if (target == QStringLiteral("link-to-home")) {
        target = root + QStringLiteral("/home");
        QVERIFY(QFile::link(QDir::homePath(), target));
    }
    QVERIFY2(!deletionRefusal(target).isEmpty(), qPrintable(target));
    const QString marker = QDir::homePath() + QStringLiteral("/keep/marker.txt");
    QVERIFY(TestEnv::writeFile(marker, "stays"));

    QCOMPARE(runDeletion(target), countedTo(0));

    QVERIFY(QFile::exists(marker));
    const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("FileDeletionThread refused to delete ")),
        qPrintable(errors.first()));
}

void FileDeletionThreadTest::destroyingARunningThreadWaitsForIt()
{
    QStringList entries;
    for (int i = 0; i < 300; ++i)
        entries << QStringLiteral("dir%1/file%2.txt").arg(i % 10).arg(i);
    QVERIFY(writeFiles(root, entries));
    std::vector<int> events;
    {
        FileDeletionThread thread { QDir(root) };
        QObject::connect(&thread, &FileDeletionThread::deleteComplete,
            [&events] { events.push_back(completeMark); });
        thread.start();
    }
    QCOMPARE(events, std::vector<int> { completeMark });
    QCOMPARE(treeBelow(root), QStringList());
}

UNINSTALL_TEST_MAIN(FileDeletionThreadTest)

#include "tst_filedeletionthread.moc"
