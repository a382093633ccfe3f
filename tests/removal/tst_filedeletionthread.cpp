#include "removal/deletionguard.h"
#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const int completeMark = 0;

// What the thread emitted, in order: the bar values, then completeMark for deleteComplete.
QList<int> runDeletion(const QString& root)
{
    QList<int> events;
    FileDeletionThread thread { QDir(root) };
    QObject::connect(&thread, &FileDeletionThread::updateBar, [&](int value) { events << value; });
    QObject::connect(&thread, &FileDeletionThread::deleteComplete, [&] { events << completeMark; });
    thread.start(QThread::InheritPriority);
    thread.wait();
    return events;
}

QList<int> countedTo(int last)
{
    QList<int> events;
    for (int i = 1; i <= last; ++i)
        events << i;
    return events << completeMark;
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

} // namespace

class FileDeletionThreadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> rootDir;
    std::unique_ptr<QTemporaryDir> outsideDir;
    QString root;
    QString outside;

private slots:
    void initTestCase() { RemovalTest::openLog(); }

    void init()
    {
        rootDir = std::make_unique<QTemporaryDir>();
        outsideDir = std::make_unique<QTemporaryDir>();
        QVERIFY(rootDir->isValid() && outsideDir->isValid());
        root = rootDir->path() + QStringLiteral("/install");
        outside = outsideDir->path();
        QVERIFY(QDir().mkpath(root));
        TestEnv::clearLog();
    }

    void cleanup()
    {
        QFile::setPermissions(root + QStringLiteral("/locked"),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        rootDir.reset();
        outsideDir.reset();
    }

    void deletesAllButTheSetupToolAndHiddenEntries()
    {
        const bool permissionsEnforced = RemovalTest::permissionsEnforced(rootDir->path());
        // The setup tool's files, a capitalised look-alike that is no such file, hidden
        // entries, a read-only directory, two levels of sub-directories and links that lead out.
        QVERIFY(writeFiles(root,
            { "unins000.exe", "unins000.dat", "myunins000.txt", "unins000/inner.txt",
                "unins000/deeper/x.txt", "Unins000.txt", "app.bin", ".hidden", ".cache/cache.dat",
                "bin/tool.so", "bin/plugins/codec.so", "bin/plugins/Unins000Data/d.txt",
                "data/readme.txt", "data/.settings", "locked/f.txt" }));
        QVERIFY(writeFiles(outside, { "o.txt", "sub/p.txt" }));
        QVERIFY(QFile::link(outside, root + QStringLiteral("/outside")));
        QVERIFY(QFile::link(
            outside + QStringLiteral("/o.txt"), root + QStringLiteral("/outside-file")));
        QVERIFY(QFile::setPermissions(
            root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::ExeOwner));

        // All files but the hidden ones, the setup tool's included; each link counts once and
        // the directory one of them leads to is not entered.
        QCOMPARE(getFileCountLogged(QDir(root)), 14);

        // Files: Unins000.txt, app.bin, tool.so, codec.so, d.txt, readme.txt, f.txt and the
        // two links; directories: bin, plugins, Unins000Data, data, locked.
        QCOMPARE(runDeletion(root), countedTo(9 + 5));
        QStringList expected { ".cache", ".cache/cache.dat", ".hidden", "data", "data/.settings",
            "myunins000.txt", "unins000", "unins000.dat", "unins000.exe", "unins000/deeper",
            "unins000/deeper/x.txt", "unins000/inner.txt" };
        if (permissionsEnforced)
            expected << "locked"
                     << "locked/f.txt";
        expected.sort();
        QCOMPARE(treeBelow(root), expected);
        QCOMPARE(treeBelow(outside), (QStringList { "o.txt", "sub", "sub/p.txt" }));
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("data: delete failed")));
    }

    void fileCount_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("directoriesListed");
        QTest::newRow("empty") << QStringList() << 0 << 1;
        QTest::newRow("nested") << QStringList { "a/b/c/d.txt", "a/e.txt", "f/" } << 2 << 5;
        QTest::newRow("setup tool counted")
            << QStringList { "unins000.exe", "unins000/x.dat" } << 2 << 2;
        QTest::newRow("hidden not counted") << QStringList { ".h", ".dir/f", "dir/.f" } << 0 << 2;
    }

    void fileCount()
    {
        QFETCH(QStringList, entries);
        QVERIFY(writeFiles(root, entries));
        QTEST(countInstallationFiles(QDir(root)), "files");
        QTEST(getFileCountLogged(QDir(root)), "files");
        QTEST(TestEnv::logMessages(QStringLiteral("debug"))
                  .count(QStringLiteral("Uninstall getFileCount run!")),
            "directoriesListed");
    }

    void emptyRootOnlyCompletes()
    {
        QCOMPARE(runDeletion(root), countedTo(0));
        QVERIFY(QFileInfo(root).isDir());
    }

    void missingRootEmitsNothing()
    {
        const QString missing = root + QStringLiteral("/not-there");
        QCOMPARE(runDeletion(missing), QList<int>());
        QCOMPARE(getFileCountLogged(QDir(missing)), 0);
    }

    void refusedRootIsLeftAlone_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("home") << false;
        QTest::newRow("home through a link") << true;
    }

    void refusedRootIsLeftAlone()
    {
        QFETCH(bool, throughLink);
        // Only the sandbox's own home may stand in for a real one here.
        const QString sandbox = qEnvironmentVariable("UNINSTALL_SANDBOX");
        if (sandbox.isEmpty() || !QDir::homePath().startsWith(sandbox + QLatin1Char('/')))
            QSKIP("needs the sandbox's home folder");
        QString target = QDir::homePath();
        if (throughLink) {
            target = root + QStringLiteral("/home");
            QVERIFY(QFile::link(QDir::homePath(), target));
        }
        const QString marker = QDir::homePath() + QStringLiteral("/keep/marker.txt");
        QVERIFY(TestEnv::writeFile(marker, "stays"));

        QCOMPARE(runDeletion(target), countedTo(0));

        QVERIFY(QFile::exists(marker));
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(QStringLiteral("FileDeletionThread refused to delete ")));
    }
};

UNINSTALL_TEST_MAIN(FileDeletionThreadTest)
#include "tst_filedeletionthread.moc"
