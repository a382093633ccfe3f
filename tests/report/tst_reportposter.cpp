// Posting one report to a real loopback service: the request as the service sees it, and how
// every kind of answer is logged and told back.

#include "loopbackserver.h"
#include "testenvironment.h"

#include "entry/waits.h"
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
    void initTestCase()
    {
        TestEnv::useWizardLog();
        // A silent post is given up after a second instead of four.
        Waits::setScale(0.25);
    }

    void init() { TestEnv::clearLog(); }

    void answer_data()
    {
        QTest::addColumn<LoopbackServer::Response>("response");
        QTest::addColumn<bool>("delivered");
        QTest::addColumn<QString>("logged");
        QTest::newRow("accepted") << LoopbackServer::Response::json(R"({"code":0})") << true
                                  << QStringLiteral(
                                         "HTTP POST request successful and Response: {\"code\":0}");
        QTest::newRow("accepted, empty answer") << LoopbackServer::Response::ok(
            QByteArray()) << true << QStringLiteral("HTTP POST request successful and Response: ");
        QTest::newRow("server error") << LoopbackServer::Response::error(500, "broken") << false
                                      << QStringLiteral("HTTP POST request failed: ");
        QTest::newRow("cut off") << LoopbackServer::Response::truncated("{}", 1) << false
                                 << QStringLiteral("HTTP POST request failed: ");
        QTest::newRow("late answer") << LoopbackServer::Response::json("{}").delayed(
            200) << true << QStringLiteral("HTTP POST request successful and Response: {}");
        QTest::newRow("silent service") << LoopbackServer::Response::noAnswer() << false
                                        << QStringLiteral("HTTP POST request failed: ");
    }

    void answer()
    {
        QFETCH(LoopbackServer::Response, response);
        QFETCH(bool, delivered);
        QFETCH(QString, logged);

        LoopbackServer server;
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
        const LoopbackServer::Request request = server.requests().first();
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

    // A stuck connection is given up before the same report goes out again.
    void postingAgainAbortsThePendingPost()
    {
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setResponse(QStringLiteral("/feedback"), LoopbackServer::Response::noAnswer());
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(server.url(QStringLiteral("/feedback")), kBody);
        QTRY_COMPARE(server.requestCount(), 1);
        poster.post(server.url(QStringLiteral("/feedback")), kBody);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().at(1).toBool(), false);
        QTRY_COMPARE(server.requestCount(), 2);
    }

    void concurrentPostsEachTellTheirOwn()
    {
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setHandler(QStringLiteral("/feedback"), [](const LoopbackServer::Request& request) {
            return request.body.contains("first")
                ? LoopbackServer::Response::error(503).delayed(200)
                : LoopbackServer::Response::json("{}");
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
