#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
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

// Everything below root, hidden entries included, links not followed: relative path and a
// digest of the contents (a link's target for a link).
QMap<QString, QByteArray> treeBelow(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray digest
            = it.fileInfo().isSymLink() ? it.fileInfo().symLinkTarget().toUtf8() : QByteArray();
        if (digest.isEmpty() && it.fileInfo().isFile() && file.open(QIODevice::ReadOnly))
            digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        entries.insert(QDir(root).relativeFilePath(path), digest);
    }
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
    void initTestCase() { RemovalTest::openLog(); }

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
        QFile::setPermissions(root + QStringLiteral("/locked"),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        rootDir.reset();
        outsideDir.reset();
    }

    void deletesAllButTheSetupToolAndHiddenEntries()
    {
        const bool permissionsEnforced = RemovalTest::permissionsEnforced(rootDir->path());
        // The setup tool's files, a capitalised look-alike that is no such file, hidden
        // entries, a read-only directory and two levels of sub-directories.
        QVERIFY(writeFiles(root,
            { "unins000.exe", "unins000.dat", "myunins000.txt", "unins000/inner.txt",
                "unins000/deeper/x.txt", "Unins000.txt", "app.bin", ".hidden", ".cache/cache.dat",
                "bin/tool.so", "bin/plugins/codec.so", "bin/plugins/Unins000Data/d.txt",
                "data/readme.txt", "data/.settings", "locked/f.txt" }));
        QVERIFY(QFile::setPermissions(
            root + QStringLiteral("/locked"), QFile::ReadOwner | QFile::ExeOwner));

        // All files but the hidden ones, the setup tool's and the marks included.
        QCOMPARE(getFileCountLogged(QDir(root)), 14);

        // Files: the marks, Unins000.txt, app.bin, tool.so, codec.so, d.txt, readme.txt,
        // f.txt; directories: bin, plugins, Unins000Data, data, locked.
        const Pass pass = runDeletion(root);
        QCOMPARE(pass.events, countedTo(9 + 5));
        QStringList expected { ".cache", ".cache/cache.dat", ".hidden", "data", "data/.settings",
            "myunins000.txt", "unins000", "unins000.dat", "unins000.exe", "unins000/deeper",
            "unins000/deeper/x.txt", "unins000/inner.txt" };
        if (permissionsEnforced)
            expected << "locked"
                     << "locked/f.txt";
        expected.sort();
        QCOMPARE(treeBelow(root).keys(), expected);
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("data: delete failed")));

        // What stayed, and why: the setup tool's entries only at their top.
        QCOMPARE(leftoversListed("setup tool"),
            (QStringList { "myunins000.txt", "unins000", "unins000.dat", "unins000.exe" }));
        QCOMPARE(leftoversListed("hidden"), (QStringList { ".cache", ".hidden", ".settings" }));
        const QStringList notEmpty
            = permissionsEnforced ? QStringList { "data", "locked" } : QStringList { "data" };
        QCOMPARE(leftoversListed("not empty"), notEmpty);
        QCOMPARE(leftoversListed("permission"),
            permissionsEnforced ? QStringList { "f.txt" } : QStringList());
        QVERIFY(!pass.outcome.failed());
        QCOMPARE(pass.outcome.leftBehind(), permissionsEnforced ? 6 : 4);
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

    // Links are removed as links; a directory swapped for a link after the scan is not
    // entered: the removal never reaches outside the installation.
    void nothingOutsideIsTouched()
    {
        QStringList decoy;
        for (int i = 0; i < 300; ++i)
            decoy << QStringLiteral("tree/f%1.txt").arg(i);
        QVERIFY(writeFiles(outside, decoy + QStringList { "file.txt" }));
        QVERIFY(writeFiles(root, decoy.replaceInStrings("tree/", "swapped/")));
        QVERIFY(QFile::link(outside + "/file.txt", root + "/linked-file"));
        QVERIFY(QFile::link(outside + "/tree", root + "/linked-dir"));
        const QMap<QString, QByteArray> before = treeBelow(outside);

        const Pass pass = runDeletion(root, [this] {
            QVERIFY(QDir(root).rename("swapped", "moved-away"));
            QVERIFY(QFile::link(outside + "/tree", root + "/swapped"));
        });

        QCOMPARE(treeBelow(outside), before);
        // The 300 files and the swapped directory itself.
        QCOMPARE(leftoversListed("changed during removal").size(), 301);
        QVERIFY(
            !QFileInfo::exists(root + "/linked-file") && !QFileInfo::exists(root + "/linked-dir"));
        QVERIFY(!pass.outcome.failed());
    }

    // Nothing stays for its depth or for a name that is no text.
    void deepTreesAndAnyNames()
    {
        const int depth = 2000; // well past PATH_MAX
        QVERIFY(TestEnv::makeDeepTree(root, depth));
        for (const char* name : { "\xff\xfe-latin1-\xe9.bin", "sub-\xc3\x28" }) {
            const int created = ::open(
                (QFile::encodeName(root) + '/' + name).constData(), O_CREAT | O_WRONLY, 0600);
            QVERIFY(created >= 0);
            ::close(created);
        }

        const Pass pass = runDeletion(root);

        QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
        QCOMPARE(pass.outcome.removedFiles, 2 + 2 + 1);
        QCOMPARE(pass.outcome.removedDirectories, depth);
        QCOMPARE(pass.events, countedTo(2 + 2 + 1 + depth));
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
