// Only a complete download over a trusted transport may replace the updater an earlier run
// left. Links in its place are among the hostile content rows.

#include "content/updaterdownload.h"
#include "content/updaterlocation.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include "framework.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using Response = LoopbackServer::Response;

class TestUpdaterDownload : public QObject {
    Q_OBJECT

    QByteArray m_body = QByteArray(64 * 1024, 'u');

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void download_data()
    {
        QTest::addColumn<QString>("address"); // a path on the service, or a whole address
        QTest::addColumn<Response>("answer");
        QTest::addColumn<QString>("error"); // how the first error line begins; empty: saved

        const QString network = QStringLiteral("NetworkError error:");
        QTest::newRow("moved within the service") << "/moved" << Response::ok(m_body) << "";
        QTest::newRow("connection cut")
            << "/updater" << Response::truncated(m_body, 20000) << network;
        // Ends in good order, short of the length it announced.
        QTest::newRow("shorter than announced")
            << "/updater" << Response::truncated(m_body, 20000).chunked()
            << "updater download incomplete: ";
        QTest::newRow("server error") << "/updater" << Response::error(500, "oops") << network;
        QTest::newRow("no content") << "/updater" << Response::error(204) << network + "empty body";
        QTest::newRow("redirect without a target")
            << "/updater" << Response::error(302, "<html>moved</html>") << network;
        QTest::newRow("moved to plain http")
            << "/updater" << Response::redirect(301, "http://updates.example/u")
            << "refused redirect to http://updates.example/u";
        QTest::newRow("plain http address")
            << "http://updates.example/updater" << Response() << "refused updater address: ";
    }

    void download()
    {
        QFETCH(QString, address);
        QFETCH(Response, answer);
        QFETCH(QString, error);
        TestEnv::clearLog();
        const QString folder = QFileInfo(updaterPath()).absolutePath();
        QDir(folder).removeRecursively();
        QVERIFY(TestEnv::writeFile(updaterPath(), "earlier updater"));
        const auto before = TestFiles::fingerprints(folder);
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setResponse(QStringLiteral("/updater"), answer);
        server.setResponse(QStringLiteral("/moved"), Response::redirect(302, "/updater"));

        UpdaterDownload download(updaterPath());
        QSignalSpy finished(&download, &UpdaterDownload::finished);
        download.start(Framework::networkAccessManager(),
            address.startsWith('/') ? server.url(address) : QUrl(address));
        QVERIFY(finished.wait());
        QCOMPARE(finished.first().first().toBool(), error.isEmpty());
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.value(0).startsWith(error),
            qPrintable(errors.join('|')));
        const QStringList changed = TestFiles::changed(before, TestFiles::fingerprints(folder));
        QCOMPARE(changed.size(), error.isEmpty() ? 1 : 0);
        if (error.isEmpty()) {
            QCOMPARE(TestFiles::fingerprints(folder).size(), 1);
            QVERIFY(QFileInfo(updaterPath()).isExecutable());
            QFile file(updaterPath());
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == m_body);
        }
    }
};

UNINSTALL_TEST_MAIN(TestUpdaterDownload)
#include "tst_updaterdownload.moc"
