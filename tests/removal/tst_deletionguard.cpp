#include "removal/deletionguard.h"

#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class DeletionGuardTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        QVERIFY(QFile::link(QDir::homePath(), scratch.filePath(QStringLiteral("home-link"))));
        QVERIFY(QFile::link(QStringLiteral("/usr"), scratch.filePath(QStringLiteral("usr-link"))));
        QVERIFY(QDir::homePath() != QStringLiteral("/"));
    }

    void guard_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("refused");
        const QString home = QDir::homePath();
        QTest::newRow("file system root") << "/" << true;
        QTest::newRow("root, doubled slash") << "//" << true;
        QTest::newRow("root through dot-dot") << "/usr/.." << true;
        QTest::newRow("/usr") << "/usr" << true;
        QTest::newRow("/usr/bin") << "/usr/bin" << true;
        QTest::newRow("/usr/local") << "/usr/local" << true;
        QTest::newRow("/etc") << "/etc" << true;
        QTest::newRow("inside /etc") << "/etc/ssl" << true;
        QTest::newRow("inside /proc") << "/proc/self" << true;
        QTest::newRow("/tmp") << "/tmp" << true;
        QTest::newRow("another user's home") << "/home/someone" << true;
        QTest::newRow("home") << home << true;
        QTest::newRow("the folder holding home") << QFileInfo(home).absolutePath() << true;
        QTest::newRow("home through a link") << scratch.filePath("home-link") << true;
        QTest::newRow("/usr through a link") << scratch.filePath("usr-link") << true;
        QTest::newRow("desktop") << QStandardPaths::writableLocation(
            QStandardPaths::DesktopLocation)
                                 << true;
        QTest::newRow("shared data")
            << QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) << true;
        QTest::newRow("temporary folder")
            << QStandardPaths::writableLocation(QStandardPaths::TempLocation) << true;
        QTest::newRow("empty path") << QString() << true;

        QTest::newRow("a temporary directory") << scratch.path() << false;
        QTest::newRow("a directory not yet made") << scratch.filePath("later/app") << false;
        QTest::newRow("the installation") << TestEnv::installDir() << false;
        QTest::newRow("an application below home") << home + "/apps/Tern Converter" << false;
        QTest::newRow("an application in /opt") << "/opt/Tern Converter" << false;
        QTest::newRow("an application in /usr/local") << "/usr/local/tern" << false;
    }

    void guard()
    {
        QFETCH(QString, path);
        QFETCH(bool, refused);
        QCOMPARE(!deletionRefusal(path).isEmpty(), refused);
    }
};

UNINSTALL_TEST_MAIN(DeletionGuardTest)
#include "tst_deletionguard.moc"
