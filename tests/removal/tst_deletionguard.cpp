#include "removal/deletionguard.h"

#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class DeletionGuardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void refuses_data();
    void refuses();
    void allows_data();
    void allows();

private:
    QTemporaryDir scratch;
};

void DeletionGuardTest::initTestCase()
{
    QVERIFY(scratch.isValid());
    QVERIFY(QFile::link(QDir::homePath(), scratch.filePath(QStringLiteral("home-link"))));
    QVERIFY(QFile::link(QStringLiteral("/usr"), scratch.filePath(QStringLiteral("usr-link"))));
    QVERIFY(QDir::homePath() != QStringLiteral("/"));
}

void DeletionGuardTest::refuses_data()
{
    QTest::addColumn<QString>("path");
    const QString home = QDir::homePath();
    QTest::newRow("file system root") << QStringLiteral("/");
    QTest::newRow("file system root, doubled slash") << QStringLiteral("//");
    QTest::newRow("root through dot-dot") << QStringLiteral("/usr/..");
    QTest::newRow("/usr") << QStringLiteral("/usr");
    QTest::newRow("/usr/bin") << QStringLiteral("/usr/bin");
    QTest::newRow("/usr/local") << QStringLiteral("/usr/local");
    QTest::newRow("/etc") << QStringLiteral("/etc");
    QTest::newRow("inside /etc") << QStringLiteral("/etc/ssl");
    QTest::newRow("inside /proc") << QStringLiteral("/proc/self");
    QTest::newRow("/tmp") << QStringLiteral("/tmp");
    QTest::newRow("another user's home") << QStringLiteral("/home/someone");
    QTest::newRow("home") << home;
    QTest::newRow("the folder holding home") << QFileInfo(home).absolutePath();
    QTest::newRow("home through a link") << scratch.filePath(QStringLiteral("home-link"));
    QTest::newRow("/usr through a link") << scratch.filePath(QStringLiteral("usr-link"));
    QTest::newRow("desktop") << QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QTest::newRow("shared data") << QStandardPaths::writableLocation(
        QStandardPaths::GenericDataLocation);
    QTest::newRow("temporary folder")
        << QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    QTest::newRow("empty path") << QString();
}

void DeletionGuardTest::refuses()
{
    QFETCH(QString, path);
    QVERIFY2(!deletionRefusal(path).isEmpty(), qPrintable(path));
}

void DeletionGuardTest::allows_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("a temporary directory") << scratch.path();
    QTest::newRow("a directory not yet made") << scratch.filePath(QStringLiteral("later/app"));
    QTest::newRow("the installation") << TestEnv::installDir();
    QTest::newRow("an application below home")
        << QDir::homePath() + QStringLiteral("/apps/Tern Converter");
    QTest::newRow("an application in /opt") << QStringLiteral("/opt/Tern Converter");
    QTest::newRow("an application in /usr/local") << QStringLiteral("/usr/local/tern");
}

void DeletionGuardTest::allows()
{
    QFETCH(QString, path);
    QCOMPARE(deletionRefusal(path), QString());
}

UNINSTALL_TEST_MAIN(DeletionGuardTest)

#include "tst_deletionguard.moc"
