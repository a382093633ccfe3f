#include "content/uninstallprofile.h"
#include "content/updaterdownload.h"
#include "content/updaterlocation.h"

#include "httptestserver.h"
#include "testenvironment.h"

#include "framework.h"
#include "platform.h"
#include "ternlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

// The updater is run later by the wizard: only a complete download may become a file.
class TestUpdaterDownload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void completeBodyBecomesExecutable();
    void brokenDownloadLeavesNoFile_data();
    void brokenDownloadLeavesNoFile();
    void profileFetchesTheUpdater();

private:
    static QStringList updaterFolderEntries();

    HttpTestServer* m_server = nullptr;
    QByteArray m_body;
};

void TestUpdaterDownload::initTestCase()
{
    SetLogfile((TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
    SetLogLevel(1);
    for (int i = 0; i < 64 * 1024; ++i)
        m_body.append(char(i * 7));
}

void TestUpdaterDownload::init()
{
    TestEnv::clearLog();
    QDir(QFileInfo(updaterPath()).absolutePath()).removeRecursively();
    m_server = new HttpTestServer(this);
    QVERIFY(m_server->listen());
}

void TestUpdaterDownload::cleanup()
{
    delete m_server;
    m_server = nullptr;
}

QStringList TestUpdaterDownload::updaterFolderEntries()
{
    return QDir(QFileInfo(updaterPath()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
}

void TestUpdaterDownload::completeBodyBecomesExecutable()
{
    m_server->setResponse(QStringLiteral("/updater"), HttpTestServer::Response::ok(m_body));
    UpdaterDownload download(updaterPath());
    QSignalSpy finished(&download, &UpdaterDownload::finished);
    download.start(Framework::networkAccessManager(), m_server->url(QStringLiteral("/updater")));

    QVERIFY(finished.wait());
    QCOMPARE(finished.first().first().toBool(), true);
    QFile file(updaterPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), m_body);
#ifndef Q_OS_WIN
    QVERIFY(QFileInfo(updaterPath()).isExecutable());
#endif
    QCOMPARE(updaterFolderEntries(), QStringList { QFileInfo(updaterPath()).fileName() });
    QVERIFY(TestEnv::logMessages(QStringLiteral("error")).isEmpty());
}

void TestUpdaterDownload::brokenDownloadLeavesNoFile_data()
{
    QTest::addColumn<HttpTestServer::Response>("response");
    QTest::addColumn<QString>("errorLine");

    QTest::newRow("closed mid-body")
        << HttpTestServer::Response::truncated(m_body, 20000) << "NetworkError error:";
    QTest::newRow("error status") << HttpTestServer::Response::error(500, "server error")
                                  << "NetworkError error:";
    QTest::newRow("connection dropped")
        << HttpTestServer::Response::closeConnection() << "NetworkError error:";
}

void TestUpdaterDownload::brokenDownloadLeavesNoFile()
{
    QFETCH(HttpTestServer::Response, response);
    QFETCH(QString, errorLine);
    m_server->setResponse(QStringLiteral("/updater"), response);

    UpdaterDownload download(updaterPath());
    QSignalSpy finished(&download, &UpdaterDownload::finished);
    download.start(Framework::networkAccessManager(), m_server->url(QStringLiteral("/updater")));

    QVERIFY(finished.wait());
    QCOMPARE(finished.first().first().toBool(), false);
    QVERIFY(!QFile::exists(updaterPath()));
    QVERIFY(updaterFolderEntries().isEmpty());
    const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(errorLine), qPrintable(errors.first()));
}

void TestUpdaterDownload::profileFetchesTheUpdater()
{
    m_server->setResponse(QStringLiteral("/updater"), HttpTestServer::Response::ok(m_body));
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());
    TestEnv::setExtendParam(
        QStringLiteral("updateAppUrl"), m_server->address(QStringLiteral("/updater")));

    UninstallProfile profile;
    QTRY_VERIFY(QFile::exists(updaterPath()));
    // Renamed into place whole: once it is there, all of it is.
    QCOMPARE(QFileInfo(updaterPath()).size(), qint64(m_body.size()));
    QCOMPARE(QFileInfo(updaterPath()).fileName(),
        Platform::executableFileName(QStringLiteral("Tern Converter")));
    QCOMPARE(m_server->requestCount(QStringLiteral("/updater")), 1);
}

UNINSTALL_TEST_MAIN(TestUpdaterDownload)
#include "tst_updaterdownload.moc"
