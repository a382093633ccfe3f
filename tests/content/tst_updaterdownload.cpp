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

namespace {

QStringList updaterFolderEntries()
{
    return QDir(QFileInfo(updaterPath()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

// The wizard runs the updater later: only a complete download may become a file.
class TestUpdaterDownload : public QObject {
    Q_OBJECT

    // Downloads /updater with the given answer; returns what finished() said.
    bool download(const HttpTestServer::Response& response)
    {
        m_server->setResponse(QStringLiteral("/updater"), response);
        UpdaterDownload download(updaterPath());
        QSignalSpy finished(&download, &UpdaterDownload::finished);
        download.start(
            Framework::networkAccessManager(), m_server->url(QStringLiteral("/updater")));
        return finished.wait() && finished.first().first().toBool();
    }

    HttpTestServer* m_server = nullptr;
    QByteArray m_body;

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        for (int i = 0; i < 64 * 1024; ++i)
            m_body.append(char(i * 7));
    }

    void init()
    {
        TestEnv::clearLog();
        QDir(QFileInfo(updaterPath()).absolutePath()).removeRecursively();
        m_server = new HttpTestServer(this);
        QVERIFY(m_server->listen());
    }

    void cleanup()
    {
        delete m_server;
        m_server = nullptr;
    }

    void completeBodyBecomesExecutable()
    {
        QVERIFY(download(HttpTestServer::Response::ok(m_body)));
        QFile file(updaterPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), m_body);
#ifndef Q_OS_WIN
        QVERIFY(QFileInfo(updaterPath()).isExecutable());
#endif
        QCOMPARE(updaterFolderEntries(), QStringList { QFileInfo(updaterPath()).fileName() });
        QVERIFY(TestEnv::logMessages(QStringLiteral("error")).isEmpty());
    }

    void brokenDownloadLeavesNoFile_data()
    {
        QTest::addColumn<HttpTestServer::Response>("response");
        QTest::newRow("closed mid-body") << HttpTestServer::Response::truncated(m_body, 20000);
        QTest::newRow("error status") << HttpTestServer::Response::error(500, "server error");
        QTest::newRow("connection dropped") << HttpTestServer::Response::closeConnection();
    }

    void brokenDownloadLeavesNoFile()
    {
        QFETCH(HttpTestServer::Response, response);
        QVERIFY(!download(response));
        QVERIFY(updaterFolderEntries().isEmpty());
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(QStringLiteral("NetworkError error:")));
    }

    void profileFetchesTheUpdater()
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
};

UNINSTALL_TEST_MAIN(TestUpdaterDownload)
#include "tst_updaterdownload.moc"
