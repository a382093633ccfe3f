// The two reports, byte for byte, and how posting one is logged and told back whatever the
// service answers.

#include "loopbackserver.h"
#include "testenvironment.h"

#include "entry/waits.h"
#include "report/feedbackreports.h"
#include "report/reportposter.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

using Response = LoopbackServer::Response;
const QByteArray kBody = R"({"tid":"11232024170509","userEmail":"","userId":"{x}"})";
const QString kUser = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");

} // namespace

class TestReportPoster : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        Waits::setScale(0.05); // a silent post is given up after 200 ms
    }

    void init() { TestEnv::clearLog(); }

    void documents()
    {
        // Single digits everywhere, so that every field shows its padding; a box without a
        // cause keeps its form name.
        const FirstReport report { QDateTime(QDate(2025, 3, 7), QTime(9, 4, 1)), kUser, "de",
            "Tern Converter", "tern", "1024", "3.2.0", { { "slow", true }, { "option_3", false } },
            "Zu \"langsam\"\nund teuer \u00e9\u4e2d" };
        QCOMPARE(buildFirstReport(report),
            R"({"brand":"tern","language":"de","productId":"1024","productName":"Tern Converter",)"
            R"("productVersion":"3.2.0","tid":"03072025090401","time":"2025-03-07 09:04:01",)"
            R"("uninstallCause":[{"slow":true},{"option_3":false},)"
            "\"Zu \\\"langsam\\\"\\nund teuer \xc3\xa9\xe4\xb8\xad\"],\"userId\":\""
                + kUser.toUtf8() + "\"}");
        // With an address typed it shows in the removal run.
        QCOMPARE(buildSecondReport("11232024170509", kUser, QString()),
            "{\"tid\":\"11232024170509\",\"userEmail\":\"\",\"userId\":\"" + kUser.toUtf8()
                + "\"}");
    }

    void answer_data()
    {
        QTest::addColumn<QString>("address"); // empty: the loopback service
        QTest::addColumn<Response>("response");
        QTest::addColumn<QString>("logged"); // the line, or how it begins when the post failed

        const QString success = QStringLiteral("HTTP POST request successful and Response: ");
        const QString failure = QStringLiteral("HTTP POST request failed: ");
        QTest::newRow("accepted, late")
            << "" << Response::json(R"({"code":0})").delayed(50) << success + R"({"code":0})";
        QTest::newRow("accepted, empty answer") << "" << Response::ok({}) << success;
        QTest::newRow("server error") << "" << Response::error(500, "broken") << failure;
        QTest::newRow("cut off") << "" << Response::truncated("{}", 1) << failure;
        QTest::newRow("silent service") << "" << Response::noAnswer() << failure;
        QTest::newRow("no address") << "-" << Response() << failure;
        QTest::newRow("no scheme") << "feedback.example" << Response() << failure;
        QTest::newRow("nobody listening") << "http://127.0.0.1:1/feedback" << Response() << failure;
    }

    void answer()
    {
        QFETCH(QString, address);
        QFETCH(Response, response);
        QFETCH(QString, logged);
        const bool loopback = address.isEmpty();
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setResponse(QStringLiteral("/feedback"), response);
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(loopback ? server.url(QStringLiteral("/feedback"))
                             : QUrl(address.remove('-'), QUrl::TolerantMode),
            kBody);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        const bool delivered = !logged.contains(QLatin1String("failed"));
        QCOMPARE(finished.first(), (QVariantList { kBody, delivered }));
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        QCOMPARE(log.size(), 1);
        // A failure says why.
        QVERIFY2(delivered ? log.first() == logged
                           : log.first().startsWith(logged) && log.first().size() > logged.size(),
            qPrintable(log.first()));
        if (loopback) {
            // A connection dropped without an answer is tried once more by the network stack.
            QVERIFY(server.requestCount() >= 1);
            const LoopbackServer::Request request = server.requests().first();
            QCOMPARE(request.method + ' ' + request.contentType + ' ' + request.body,
                "POST application/json " + kBody);
        }
    }

    // A stuck connection is given up before the same report goes out again, and posts of
    // different reports each tell their own outcome.
    void postsAgainAndAtOnce()
    {
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setHandler(QStringLiteral("/feedback"), [](const LoopbackServer::Request& request) {
            return request.body == "stuck" ? Response::noAnswer()
                : request.body == "first"  ? Response::error(503).delayed(100)
                                           : Response::json("{}");
        });
        const QUrl url = server.url(QStringLiteral("/feedback"));
        ReportPoster poster;
        QSignalSpy finished(&poster, &ReportPoster::finished);
        poster.post(url, "stuck");
        QTRY_COMPARE(server.requestCount(), 1);
        poster.post(url, "stuck");
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.takeFirst(), (QVariantList { QByteArray("stuck"), false }));
        QTRY_COMPARE(server.requestCount(), 2);

        poster.post(url, "first");
        poster.post(url, "second");
        const auto outcome = [&](const QByteArray& body) {
            for (const QList<QVariant>& signal : qAsConst(finished)) {
                if (signal.at(0).toByteArray() == body)
                    return signal.at(1).toBool() ? 1 : 0;
            }
            return -1;
        };
        QTRY_COMPARE(outcome("first"), 0);
        QTRY_COMPARE(outcome("second"), 1);
    }
};

UNINSTALL_TEST_MAIN(TestReportPoster)
#include "tst_reportposter.moc"
