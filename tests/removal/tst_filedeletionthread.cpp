#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "testenvironment.h"
#include "testfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int completeMark = 0;
const QString kProduct = QStringLiteral("Tern Converter");

// What the thread emitted, in order: the bar values, then completeMark for deleteComplete.
struct Pass {
    QList<int> events;
    RemovalOutcome outcome;
};

Pass runDeletion(const QString& root, const std::function<void()>& betweenScanAndRemoval = {})
{
    Pass pass;
    FileDeletionThread thread { QDir(root), { root + QStringLiteral("/uninstaller"), kProduct } };
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
    if (!list.open(QIODevice::ReadOnly))
        return { QStringLiteral("no list") };
    QStringList paths;
    const QJsonArray leftovers
        = QJsonDocument::fromJson(list.readAll()).object().value("leftovers").toArray();
    for (const QJsonValue& leftover : leftovers) {
        if (leftover["reason"].toString() == reason)
            paths << QFileInfo(leftover["path"].toString()).fileName();
    }
    paths.sort();
    return paths;
}

} // namespace

class FileDeletionThreadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> rootDir;
    std::unique_ptr<QTemporaryDir> outsideDir;
    QString root;
    QString outside;
    QString mounted;

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init()
    {
        rootDir = std::make_unique<QTemporaryDir>();
        outsideDir = std::make_unique<QTemporaryDir>();
        QVERIFY(rootDir->isValid() && outsideDir->isValid());
        root = rootDir->path() + QStringLiteral("/install");
        outside = outsideDir->path();
        // The marks of an installation of the product.
        QVERIFY(writeFiles(root, { "uninstaller" }));
        QVERIFY(TestEnv::writeFile(root + "/product.json", "{\"name\":\"Tern Converter\"}"));
        TestEnv::clearLog();
    }

    void cleanup()
    {
        if (!mounted.isEmpty())
            ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
        mounted.clear();
        rootDir.reset();
        outsideDir.reset();
    }

    void fileCount_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("directoriesListed");
        // The marks are two files of every root here.
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
        QTEST(TestEnv::logMessages(QStringLiteral("debug"))
                  .count(QStringLiteral("Uninstall getFileCount run!")),
            "directoriesListed");
    }

    void refusedOrMissingRoot_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<int>>("events");
        QTest::newRow("no marks: refused, told") << QStringLiteral("bare") << countedTo(0);
        QTest::newRow("missing: nothing emitted") << QStringLiteral("not-there") << QList<int>();
    }

    void refusedOrMissingRoot()
    {
        QFETCH(QString, target);
        const QString folder = rootDir->filePath(target);
        if (target == QLatin1String("bare"))
            QVERIFY(writeFiles(folder, { "keep.txt" }));
        const Pass pass = runDeletion(folder);
        QTEST(pass.events, "events");
        QCOMPARE(getFileCountLogged(QDir(folder)), int(QFile::exists(folder + "/keep.txt")));
        if (pass.events.isEmpty())
            return;
        QVERIFY(pass.outcome.failed() && pass.outcome.refused());
        QVERIFY(QFile::exists(folder + "/keep.txt"));
        QCOMPARE(leftoversListed("refused root"), QStringList { "bare" });
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .first()
                    .startsWith(QStringLiteral("FileDeletionThread refused to delete ")));
    }

    // A directory swapped after the scan, for a link to itself moved elsewhere or for another
    // directory, is not entered.
    void nothingOutsideIsTouched()
    {
        QStringList files;
        for (int i = 0; i < 100; ++i)
            files << QStringLiteral("f%1.txt").arg(i);
        const auto below = [&](const char* dir) {
            return QStringList(files).replaceInStrings(QRegularExpression("^"), dir);
        };
        QVERIFY(writeFiles(outside, below("tree/")));
        QVERIFY(writeFiles(root, below("by-link/") + below("by-dir/")));

        const Pass pass = runDeletion(root, [this] {
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

        const Pass pass = runDeletion(root);

        QVERIFY(QFile::exists(mounted + "/other-system.txt"));
        QCOMPARE(leftoversListed("mount point"), QStringList { "mounted" });
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains("FileDeletionThread leaves the mount point alone: " + mounted));
        QCOMPARE(pass.outcome.removedFiles, 2);
    }
};

UNINSTALL_TEST_MAIN(FileDeletionThreadTest)
#include "tst_filedeletionthread.moc"
