#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "testenvironment.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>

namespace {

const int completeMark = 0;

// What the thread emitted, in order: the bar values, then completeMark for deleteComplete.
struct Pass {
    QList<int> events;
    RemovalOutcome outcome;
};

Pass runDeletion(const QString& root, const std::function<void()>& betweenScanAndRemoval = {})
{
    Pass pass;
    FileDeletionThread thread { QDir(root),
        { root + QStringLiteral("/uninstaller"), QStringLiteral("Tern Converter") } };
    QObject::connect(
        &thread, &FileDeletionThread::updateBar, [&](int value) { pass.events << value; });
    QObject::connect(
        &thread, &FileDeletionThread::deleteComplete, [&] { pass.events << completeMark; });
    if (betweenScanAndRemoval)
        QObject::connect(&thread, &FileDeletionThread::scanned, betweenScanAndRemoval);
    thread.start(QThread::InheritPriority);
    thread.wait();
    pass.outcome = thread.outcome();
    return pass;
}

QList<int> countedTo(int last)
{
    QList<int> events;
    for (int i = 1; i <= last; ++i)
        events << i;
    return events << completeMark;
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

QStringList leftoversListed(const QString& reason)
{
    QFile list(TestEnv::dataLocation() + QStringLiteral("/leftovers.json"));
    list.open(QIODevice::ReadOnly);
    QStringList paths;
    for (const QJsonValue& leftover :
        QJsonDocument::fromJson(list.readAll())["leftovers"].toArray()) {
        if (leftover["reason"].toString() == reason)
            paths << QFileInfo(leftover["path"].toString()).fileName();
    }
    return paths;
}

} // namespace

class FileDeletionThreadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> scratch;
    QString root;
    QString mounted;

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    // The marks of an installation of the product: two files.
    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        root = scratch->filePath(QStringLiteral("install"));
        QVERIFY(writeFiles(root, { "uninstaller" }));
        QVERIFY(TestEnv::writeFile(root + "/product.json", "{\"name\":\"Tern Converter\"}"));
        TestEnv::clearLog();
    }

    void cleanup()
    {
        if (!mounted.isEmpty())
            ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
        mounted.clear();
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
        QCOMPARE(runDeletion(scratch->filePath("not-there")).events, QList<int>());
        QCOMPARE(getFileCountLogged(QDir(scratch->filePath("not-there"))), 0);
        const Pass pass = runDeletion(bare);
        QCOMPARE(pass.events, countedTo(0));
        QVERIFY(pass.outcome.failed() && pass.outcome.refused());
        QCOMPARE(getFileCountLogged(QDir(bare)), 1);
        QVERIFY(QFile::exists(bare + "/keep.txt"));
        QCOMPARE(leftoversListed("refused root"), QStringList { "bare" });
        QVERIFY(TestEnv::logMessages("error").value(0).startsWith(
            "FileDeletionThread refused to delete "));
    }

    // A directory swapped after the scan, for a link to itself moved elsewhere or for another
    // directory, is not entered.
    void nothingOutsideIsTouched()
    {
        const QString outside = scratch->filePath(QStringLiteral("outside"));
        QStringList files;
        for (int i = 0; i < 100; ++i)
            files << QStringLiteral("f%1.txt").arg(i);
        const auto below = [&](const char* dir) {
            return QStringList(files).replaceInStrings(QRegularExpression("^"), dir);
        };
        QVERIFY(writeFiles(outside, below("tree/")));
        QVERIFY(writeFiles(root, below("by-link/") + below("by-dir/")));

        const Pass pass = runDeletion(root, [&] {
            QVERIFY(QDir(root).rename("by-link", "moved"));
            QVERIFY(QFile::link(root + "/moved", root + "/by-link"));
            QVERIFY(QDir().rename(root + "/by-dir", outside + "/old"));
            QVERIFY(QDir().rename(outside + "/tree", root + "/by-dir"));
        });

        QCOMPARE(TestFiles::fingerprints(root + "/moved").size(), 100);
        QCOMPARE(TestFiles::fingerprints(root + "/by-dir").size(), 100);
        QCOMPARE(leftoversListed("changed during removal").size(), 201);
        QVERIFY(!pass.outcome.failed());
        QCOMPARE(pass.events, countedTo(pass.outcome.attempted));
    }

    void mountPointIsLeftAlone()
    {
        mounted = root + QStringLiteral("/mounted");
        QVERIFY(QDir().mkpath(mounted));
        if (::mount("tmpfs", QFile::encodeName(mounted).constData(), "tmpfs", 0, nullptr) != 0) {
            mounted.clear();
            QSKIP("mounting a file system needs privileges this run does not have");
        }
        QVERIFY(writeFiles(mounted, { "other-system.txt" }));
        QCOMPARE(runDeletion(root).outcome.removedFiles, 2);
        QVERIFY(QFile::exists(mounted + "/other-system.txt"));
        QCOMPARE(leftoversListed("mount point"), QStringList { "mounted" });
        QVERIFY(TestEnv::logMessages("debug").contains(
            "FileDeletionThread leaves the mount point alone: " + mounted));
    }
};

UNINSTALL_TEST_MAIN(FileDeletionThreadTest)
#include "tst_filedeletionthread.moc"
