#include "content/uninstallprofile.h"
#include "content/updaterdownload.h"
#include "content/updaterlocation.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include "framework.h"
#include "platform.h"
#include "ternlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {

QString updaterFolder()
{
    return QFileInfo(updaterPath()).absolutePath();
}

QStringList updaterFolderEntries()
{
    return QDir(updaterFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// The wizard runs the updater later: only a complete download over a trusted transport may
// become that file, and nothing else may replace the one an earlier run left. Links in its
// place are among the hostile content rows.
class TestUpdaterDownload : public QObject {
    Q_OBJECT

    // Downloads from `address` (a path on the service, or a whole address); returns what
    // finished() said.
    bool download(const QString& address)
    {
        UpdaterDownload download(updaterPath());
        QSignalSpy finished(&download, &UpdaterDownload::finished);
        download.start(Framework::networkAccessManager(),
            address.startsWith('/') ? m_server->url(address) : QUrl(address));
        return finished.wait() && finished.first().first().toBool();
    }

    LoopbackServer* m_server = nullptr;
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
        QDir(updaterFolder()).removeRecursively();
        m_server = new LoopbackServer;
        QVERIFY(m_server->listen());
        m_server->setResponse(QStringLiteral("/updater"), LoopbackServer::Response::ok(m_body));
    }

    void cleanup()
    {
        delete m_server;
        m_server = nullptr;
    }

    void completeBodyBecomesExecutable_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << "/updater";
        QTest::newRow("redirect within the service") << "/moved";
    }

    void completeBodyBecomesExecutable()
    {
        QFETCH(QString, address);
        m_server->setResponse(
            QStringLiteral("/moved"), LoopbackServer::Response::redirect(302, "/updater"));

        QVERIFY(download(address));
        QCOMPARE(contentOf(updaterPath()), m_body);
#ifndef Q_OS_WIN
        QVERIFY(QFileInfo(updaterPath()).isExecutable());
#endif
        QCOMPARE(updaterFolderEntries(), QStringList { QFileInfo(updaterPath()).fileName() });
        QVERIFY(TestEnv::logMessages(QStringLiteral("error")).isEmpty());
    }

    void failedFetchKeepsTheEarlierUpdater_data()
    {
        using Response = LoopbackServer::Response;
        QTest::addColumn<QString>("address");
        QTest::addColumn<Response>("answer");
        QTest::addColumn<QString>("error"); // the start of the first "error" line

        const QString network = QStringLiteral("NetworkError error:");
        QTest::newRow("cut off") << "/updater" << Response::truncated(m_body, 20000) << network;
        QTest::newRow("server error") << "/updater" << Response::error(500, "oops") << network;
        QTest::newRow("no content")
            << "/updater" << Response::error(204) << "NetworkError error:empty body";
        QTest::newRow("redirect without a target")
            << "/updater" << Response::error(302, "<html>moved</html>") << network;
        QTest::newRow("redirect off to plain http")
            << "/updater" << Response::redirect(301, "http://updates.example/u")
            << "refused redirect to http://updates.example/u";
        QTest::newRow("plain http address")
            << "http://updates.example/updater" << Response() << "refused updater address: ";
    }

    void failedFetchKeepsTheEarlierUpdater()
    {
        QFETCH(QString, address);
        QFETCH(LoopbackServer::Response, answer);
        QFETCH(QString, error);
        QVERIFY(TestEnv::writeFile(updaterPath(), "earlier updater"));
        const auto before = TestFiles::fingerprints(updaterFolder());
        m_server->setResponse(QStringLiteral("/updater"), answer);

        QVERIFY(!download(address));
        QCOMPARE(
            TestFiles::changed(before, TestFiles::fingerprints(updaterFolder())), QStringList());
        QCOMPARE(contentOf(updaterPath()), QByteArray("earlier updater"));
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QVERIFY2(
            !errors.isEmpty() && errors.first().startsWith(error), qPrintable(errors.join('|')));
    }

    void profileFetchesTheUpdater()
    {
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
