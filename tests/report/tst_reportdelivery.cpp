// The two reports, byte for byte, and how posting one is logged and told back whatever the
// service answers; then a whole removal in a process of its own, walked by the host's autopilot
// against a loopback feedback service: the reports it receives, and how long the hidden wizard
// waits for them, measured from outside in retry ticks of the run's shrunk waits.

#include "entry/waits.h"
#include "report/feedbackreports.h"
#include "report/reportposter.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "wizardprocess.h"

#include "platform.h"

#include <QtTest>

#include <atomic>

namespace {

using Response = LoopbackServer::Response;
const QString kUserId = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");
const QByteArray kBody = R"({"tid":"11232024170509","userEmail":"","userId":"{x}"})";
const QString kEmail = QStringLiteral("ana@example.com");
const double kRunScale = TestEnv::waitScale(0.05);

enum class Service { Accepts, RefusesFirst, RefusesSecondOnce, NeverAnswers, HangsThenAnswers };

// Continue, tick a cause and write a note, continue twice, wait for the removal, leave an
// address and press Done.
QString writeScript()
{
    QStringList steps;
    for (const QString& step : QStringList { "click btnContinue_1", "click crash",
             "type causeEdit Too many windows", "click btnContinue_2", "click btnContinue_3",
             "type emailEdit " + kEmail, "click btnComplete" })
        steps << "wait " + step.section(' ', 1, 1) + " enabled 30000" << step;
    return WizardProcess::writeScript(QStringLiteral("remove.txt"), steps);
}

} // namespace

Q_DECLARE_METATYPE(Service)

class TestReportDelivery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The wizard must carry the identifier this user already has.
        Platform::UserRegistryKey key;
        QVERIFY(key.create(
            QStringLiteral("Software\\Classes\\CLSID\\{5f0c9a3e-2b7d-4c1e-9a86-3d2f41b7c0de}")));
        QVERIFY(key.setString(QStringLiteral("CEIPIdentifier"), kUserId));
        TestEnv::useWizardLog();
        Waits::setScale(0.05); // a silent post is given up after 200 ms
    }

    void init() { TestEnv::clearLog(); }

    void documents()
    {
        // Single digits everywhere, so that every field shows its padding; a box without a
        // cause keeps its form name.
        const FirstReport report { QDateTime(QDate(2025, 3, 7), QTime(9, 4, 1)), kUserId, "de",
            "Tern Converter", "tern", "1024", "3.2.0", { { "slow", true }, { "option_3", false } },
            "Zu \"langsam\"\nund teuer \u00e9\u4e2d" };
        QCOMPARE(buildFirstReport(report),
            R"({"brand":"tern","language":"de","productId":"1024","productName":"Tern Converter",)"
            R"("productVersion":"3.2.0","tid":"03072025090401","time":"2025-03-07 09:04:01",)"
            R"("uninstallCause":[{"slow":true},{"option_3":false},)"
            "\"Zu \\\"langsam\\\"\\nund teuer \xc3\xa9\xe4\xb8\xad\"],\"userId\":\""
                + kUserId.toUtf8() + "\"}");
        // The second report, with an address typed, is among the removal runs' rows.
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
            const LoopbackServer::Request request = server.requests().value(0);
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
        QTRY_COMPARE(finished.count(), 2);
        QVERIFY(finished.contains({ QByteArray("first"), false }));
        QVERIFY(finished.contains({ QByteArray("second"), true }));
    }

    void removalReportsAndEnds_data()
    {
        QTest::addColumn<Service>("service");
        // When the run ends after the close, in retry ticks. The close is stamped when its report
        // arrives here, which a loaded machine delays: the earliest ends leave room for that.
        QTest::addColumn<double>("earliestEnd");
        QTest::addColumn<double>("latestEnd");
        QTest::addColumn<int>("firstPosts"); // -1: at least two
        QTest::addColumn<int>("secondPosts");

        QTest::newRow("service takes both") << Service::Accepts << 0.5 << 3.0 << 1 << 1;
        QTest::newRow("first report refused") << Service::RefusesFirst << 0.5 << 3.0 << 1 << 1;
        QTest::newRow("second report taken on the retry")
            << Service::RefusesSecondOnce << 1.2 << 4.0 << 1 << 2;
        // The 30 s limit: six ticks.
        QTest::newRow("service never answers") << Service::NeverAnswers << 4.5 << 8.5 << -1 << -1;
        // Hanging posts are given up before the next tick, so the service, back after 2.4
        // ticks, receives both reports before the limit.
        QTest::newRow("service hangs, then answers")
            << Service::HangsThenAnswers << 2.4 << 5.8 << -1 << -1;
    }

    void removalReportsAndEnds()
    {
        QFETCH(Service, service);
        QFETCH(double, earliestEnd);
        QFETCH(double, latestEnd);
        QFETCH(int, firstPosts);
        QFETCH(int, secondPosts);
        const double tick = Waits::kReportRetryMs * kRunScale;

        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> closedAt { -1 }; // the second report's first arrival
        std::atomic<int> taken[2] = { { 0 }, { 0 } };
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setHandler(QStringLiteral("/feedback"), [&](const LoopbackServer::Request& post) {
            const bool first = post.body.contains("\"uninstallCause\"");
            if (!first && closedAt < 0)
                closedAt = clock.elapsed();
            if (service == Service::NeverAnswers
                || (service == Service::HangsThenAnswers
                    && (closedAt < 0 || clock.elapsed() < closedAt + 2.4 * tick)))
                return Response::noAnswer();
            const int count = ++taken[first ? 0 : 1];
            if ((service == Service::RefusesFirst && first)
                || (service == Service::RefusesSecondOnce && !first && count == 1))
                return Response::error(503);
            return Response::json(R"({"code":0})");
        });

        // A name of its own: a process of another test named after the sample product would
        // count as the application still running.
        const QString productName = QStringLiteral("Tern Reports %1 %2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(int(service));
        const QString installation = WizardProcess::makeInstallation(productName,
            { { QStringLiteral("uninstallTest"), QStringLiteral("0") },
                { QStringLiteral("uninstallReportUrl"), server.address("/feedback") } },
            productName);
        const WizardProcess::Run run = WizardProcess::run(installation, writeScript(),
            { QStringLiteral("-start_uninstall") }, 60000, { TestEnv::waitScaleSetting(0.05) });
        const qint64 waited = clock.elapsed() - closedAt;
        QVERIFY(run.returned(512));
        QVERIFY(!QFile::exists(installation + QStringLiteral("/product.json"))); // removed

        // The documents, byte for byte, tied together by one report id (its form: documents()).
        QList<QByteArray> posts[2];
        for (const LoopbackServer::Request& post : server.requests())
            posts[post.body.contains("\"uninstallCause\"") ? 0 : 1].append(post.body);
        QVERIFY(posts[0].size() == firstPosts || (firstPosts < 0 && posts[0].size() >= 2));
        QVERIFY(posts[1].size() == secondPosts || (secondPosts < 0 && posts[1].size() >= 2));
        const QJsonObject first = QJsonDocument::fromJson(posts[0].first()).object();
        const QByteArray tid = first.value(QStringLiteral("tid")).toString().toUtf8();
        const QByteArray time = first.value(QStringLiteral("time")).toString().toUtf8();
        const QByteArray expected[2] = {
            "{\"brand\":\"tern\",\"language\":\"en\",\"productId\":\"1024\",\"productName\":\""
                + productName.toUtf8() + R"(","productVersion":"3.2.0","tid":")" + tid
                + R"(","time":")" + time
                + "\",\"uninstallCause\":[{\"slow\":false},{\"crash\":true},{\"price\":false},"
                  "{\"features\":false},{\"other\":false},\"Too many windows\"],\"userId\":\""
                + kUserId.toUtf8() + "\"}",
            "{\"tid\":\"" + tid + R"(","userEmail":")" + kEmail.toUtf8() + R"(","userId":")"
                + kUserId.toUtf8() + "\"}",
        };
        for (int i : { 0, 1 }) {
            for (const QByteArray& body : qAsConst(posts[i]))
                QCOMPARE(body, expected[i]);
        }

        // The first report left before the removal began, the second after it.
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"),
            QFileInfo(TestEnv::dataLocation()).absolutePath() + '/' + productName);
        QVERIFY(log.contains(QStringLiteral("uid CEIPIdentifier:") + kUserId));
        QVERIFY(log.contains(QStringLiteral("report data ") + QString::fromUtf8(expected[0])));
        const int reported = log.indexOf(QStringLiteral("start first report!"));
        const int removing = log.indexOf(QStringLiteral("FileDeletionThread start!"));
        QVERIFY(reported >= 0 && removing > reported);
        QVERIFY(log.indexOf(QStringLiteral("start second report!")) > removing);

        if (service == Service::HangsThenAnswers)
            QVERIFY(taken[0] >= 1 && taken[1] >= 1);
        QVERIFY2(waited >= earliestEnd * tick && waited <= latestEnd * tick,
            qPrintable(QStringLiteral("ended %1 ms after the close").arg(waited)));
    }
};

UNINSTALL_TEST_MAIN(TestReportDelivery)
#include "tst_reportdelivery.moc"
