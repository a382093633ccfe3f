// Posting one report to a real loopback service: the request as the service sees it, and how
// every kind of answer is logged and told back.

#include "httptestserver.h"
#include "testenvironment.h"

#include "report/reportposter.h"

#include "ternlog.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QByteArray kBody = R"({"tid":"11232024170509","userEmail":"","userId":"{x}"})";

} // namespace

class TestReportPoster : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init() { TestEnv::clearLog(); }

    void answer_data()
    {
        QTest::addColumn<HttpTestServer::Response>("response");
        QTest::addColumn<bool>("delivered");
        QTest::addColumn<QString>("logged");
        QTest::newRow("accepted") << HttpTestServer::Response::json(R"({"code":0})") << true
                                  << QStringLiteral(
                                         "HTTP POST request successful and Response: {\"code\":0}");
        QTest::newRow("accepted, empty answer") << HttpTestServer::Response::ok(
            QByteArray()) << true << QStringLiteral("HTTP POST request successful and Response: ");
        QTest::newRow("server error") << HttpTestServer::Response::error(500, "broken") << false
                                      << QStringLiteral("HTTP POST request failed: ");
        QTest::newRow("connection dropped") << HttpTestServer::Response::closeConnection() << false
                                            << QStringLiteral("HTTP POST request failed: ");
        QTest::newRow("late answer") << HttpTestServer::Response::json("{}").delayed(
            300) << true << QStringLiteral("HTTP POST request successful and Response: {}");
    }

    void answer()
    {
        QFETCH(HttpTestServer::Response, response);
        QFETCH(bool, delivered);
        QFETCH(QString, logged);

        HttpTestServer server;
        QVERIFY(server.listen());
        server.setResponse(QStringLiteral("/feedback"), response);
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(server.url(QStringLiteral("/feedback")), kBody);
        QVERIFY(finished.wait(10000));

        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().at(0).toByteArray(), kBody);
        QCOMPARE(finished.first().at(1).toBool(), delivered);

        // A connection dropped without an answer is tried once more by the network stack.
        QVERIFY(server.requestCount() >= 1);
        const HttpTestServer::Request request = server.requests().first();
        QCOMPARE(request.method, QByteArray("POST"));
        QCOMPARE(request.header("Content-Type"), QByteArray("application/json"));
        QCOMPARE(request.body, kBody);

        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        QCOMPARE(log.size(), 1);
        if (delivered) {
            QCOMPARE(log.first(), logged);
        } else {
            QVERIFY2(log.first().startsWith(logged), qPrintable(log.first()));
            QVERIFY(log.first().size() > logged.size());
        }
    }

    void unusableAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << QString();
        QTest::newRow("no scheme") << QStringLiteral("feedback.example");
        QTest::newRow("nobody listening") << QStringLiteral("http://127.0.0.1:1/feedback");
    }

    void unusableAddress()
    {
        QFETCH(QString, address);
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(QUrl(address, QUrl::TolerantMode), kBody);
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QCOMPARE(finished.first().at(1).toBool(), false);
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .first()
                    .startsWith(QStringLiteral("HTTP POST request failed: ")));
    }

    void concurrentPostsEachTellTheirOwn()
    {
        HttpTestServer server;
        QVERIFY(server.listen());
        server.setHandler(QStringLiteral("/feedback"), [](const HttpTestServer::Request& request) {
            return request.body.contains("first")
                ? HttpTestServer::Response::error(503).delayed(200)
                : HttpTestServer::Response::json("{}");
        });
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(server.url(QStringLiteral("/feedback")), "first");
        poster.post(server.url(QStringLiteral("/feedback")), "second");
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
        QMap<QByteArray, bool> outcome;
        for (const QList<QVariant>& signal : qAsConst(finished))
            outcome.insert(signal.at(0).toByteArray(), signal.at(1).toBool());
        QCOMPARE(outcome.value("first", true), false);
        QCOMPARE(outcome.value("second", false), true);
    }
};

UNINSTALL_TEST_MAIN(TestReportPoster)
#include "tst_reportposter.moc"
