// A whole removal in a process of its own, walked by the host's autopilot against a loopback
// feedback service: the reports it receives, and how long the hidden wizard waits for them.
// Times are measured from outside with generous bounds, in the runs' shortened waits; they tell
// the retry ticks and the report limit apart, nothing finer.

#include "entry/waits.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "wizardprocess.h"

#include "platform.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>

namespace {

const QString kPath = QStringLiteral("/feedback");
const QString kUserId = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");
const QString kEmail = QStringLiteral("ana@example.com");

// The sample product's reports (3.2.0, brand "tern", id 1024, in English), written out by
// hand; the report id and time of the first are taken from the posted body.
QByteArray expectedFirstReport(
    const QJsonObject& posted, const QByteArray& productName, const QByteArray& causes)
{
    return R"({"brand":"tern","language":"en","productId":"1024","productName":")" + productName
        + R"(","productVersion":"3.2.0","tid":")"
        + posted.value(QStringLiteral("tid")).toString().toUtf8() + R"(","time":")"
        + posted.value(QStringLiteral("time")).toString().toUtf8() + R"(","uninstallCause":)"
        + causes + R"(,"userId":")" + kUserId.toUtf8() + R"("})";
}

QByteArray expectedSecondReport(const QJsonObject& first)
{
    return R"({"tid":")" + first.value(QStringLiteral("tid")).toString().toUtf8()
        + R"(","userEmail":")" + kEmail.toUtf8() + R"(","userId":")" + kUserId.toUtf8() + R"("})";
}

// The id and the time field of a first report tell the same instant.
bool idTellsTheTime(const QJsonObject& first)
{
    const QDateTime byId = QDateTime::fromString(
        first.value(QStringLiteral("tid")).toString(), QStringLiteral("MMddyyyyhhmmss"));
    return byId.isValid()
        && byId
        == QDateTime::fromString(
            first.value(QStringLiteral("time")).toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// The waits of the runs: a tenth of the product's (WizardProcess).
constexpr double kRunScale = 0.1;

enum class Service { Accepts, RefusesFirst, RefusesSecondOnce, NeverAnswers, HangsThenAnswers };

// The walk a user makes: continue, tick a cause and write a note, continue twice, wait for
// the removal, leave an address and press Done. Every wait leaves room for a busy machine.
QString writeScript()
{
    QStringList steps;
    const auto step = [&](const char* widget, const QString& action) {
        steps << QStringLiteral("wait %1 enabled 60000").arg(QLatin1String(widget))
              << action.arg(QLatin1String(widget));
    };
    step("btnContinue_1", QStringLiteral("click %1"));
    step("crash", QStringLiteral("click %1"));
    step("causeEdit", QStringLiteral("type %1 Too many windows"));
    step("btnContinue_2", QStringLiteral("click %1"));
    step("btnContinue_3", QStringLiteral("click %1"));
    step("emailEdit", QStringLiteral("type %1 ") + kEmail);
    step("btnComplete", QStringLiteral("click %1"));
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
    }

    void removalReportsAndEnds_data()
    {
        QTest::addColumn<Service>("service");
        // When the run ends after the close, in retry ticks (5 s, at the tenth the runs use).
        QTest::addColumn<double>("earliestEnd");
        QTest::addColumn<double>("latestEnd");
        QTest::addColumn<int>("secondPosts"); // -1: at least two
        QTest::addColumn<int>("firstPosts");

        QTest::newRow("service takes both") << Service::Accepts << 0.8 << 2.4 << 1 << 1;
        QTest::newRow("first report refused") << Service::RefusesFirst << 0.8 << 2.4 << 1 << 1;
        QTest::newRow("second report taken on the retry")
            << Service::RefusesSecondOnce << 1.6 << 3.4 << 2 << 1;
        // The 30 s limit: six ticks.
        QTest::newRow("service never answers") << Service::NeverAnswers << 5.0 << 8.0 << -1 << -1;
        // Posts that hang are given up before the next tick, so the service, back after 12 s
        // (2.4 ticks), receives both reports and the run ends before the limit.
        QTest::newRow("service hangs 12 s, then answers")
            << Service::HangsThenAnswers << 2.8 << 5.8 << -1 << -1;
    }

    void removalReportsAndEnds()
    {
        QFETCH(Service, service);
        QFETCH(double, earliestEnd);
        QFETCH(double, latestEnd);
        QFETCH(int, secondPosts);
        QFETCH(int, firstPosts);

        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> closedAt { -1 }; // the second report's first arrival
        std::atomic<int> firstsTaken { 0 };
        std::atomic<int> secondsTaken { 0 };
        LoopbackServer server;
        QVERIFY(server.listen());
        server.setHandler(kPath, [&](const LoopbackServer::Request& request) {
            const bool first = request.body.contains("\"uninstallCause\"");
            if (!first && closedAt < 0)
                closedAt = clock.elapsed();
            const bool hanging = service == Service::NeverAnswers
                || (service == Service::HangsThenAnswers
                    && (closedAt < 0 || clock.elapsed() < closedAt + 12000 * kRunScale));
            if (hanging)
                return LoopbackServer::Response::noAnswer();
            const int taken = ++(first ? firstsTaken : secondsTaken);
            if ((service == Service::RefusesFirst && first)
                || (service == Service::RefusesSecondOnce && !first && taken == 1))
                return LoopbackServer::Response::error(503);
            return LoopbackServer::Response::json(R"({"code":0})");
        });

        // A name of its own: a process of another test named after the sample product would
        // count as the application still running.
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
        const QString productName = QStringLiteral("Tern Reports %1 %2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(qHash(tag));
        const QString installation = WizardProcess::makeInstallation(tag,
            { { QStringLiteral("uninstallTest"), QStringLiteral("0") },
                { QStringLiteral("uninstallReportUrl"), server.address(kPath) } },
            productName);
        const QString dataFolder
            = QFileInfo(TestEnv::dataLocation()).absolutePath() + '/' + productName;

        const WizardProcess::Run run = WizardProcess::run(
            installation, writeScript(), { QStringLiteral("-start_uninstall") }, 120000);
        const qint64 endedAt = clock.elapsed();
        QVERIFY(run.returned(512));
        QVERIFY2(!QFile::exists(installation + QStringLiteral("/product.json")), "the removal ran");

        // The documents, byte for byte, tied together by one report id that tells the time.
        QList<QByteArray> firsts;
        QList<QByteArray> seconds;
        const QList<LoopbackServer::Request> posts = server.requests(kPath);
        for (const LoopbackServer::Request& post : posts)
            (post.body.contains("\"uninstallCause\"") ? firsts : seconds).append(post.body);
        QVERIFY(!firsts.isEmpty() && !seconds.isEmpty());
        const QByteArray first = firsts.first();
        const QByteArray causes
            = "[{\"slow\":false},{\"crash\":true},{\"price\":false},{\"features\":false},"
              "{\"other\":false},\"Too many windows\"]";
        const QJsonObject firstObject = QJsonDocument::fromJson(first).object();
        QCOMPARE(first, expectedFirstReport(firstObject, productName.toUtf8(), causes));
        QVERIFY(idTellsTheTime(firstObject));
        const QByteArray second = expectedSecondReport(firstObject);
        for (const QByteArray& body : qAsConst(firsts))
            QCOMPARE(body, first);
        for (const QByteArray& body : qAsConst(seconds))
            QCOMPARE(body, second);

        // The first report left before the removal began.
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"), dataFolder);
        QVERIFY(log.contains(QStringLiteral("uid CEIPIdentifier:") + kUserId));
        QVERIFY(log.contains(QStringLiteral("report data ") + QString::fromUtf8(first)));
        const int reported = log.indexOf(QStringLiteral("start first report!"));
        const int removing = log.indexOf(QStringLiteral("FileDeletionThread start!"));
        QVERIFY(reported >= 0 && removing > reported);
        QVERIFY(log.indexOf(QStringLiteral("start second report!")) > removing);

        if (firstPosts >= 0)
            QCOMPARE(firsts.size(), firstPosts);
        if (secondPosts >= 0)
            QCOMPARE(seconds.size(), secondPosts);
        else
            QVERIFY(firsts.size() >= 2 && seconds.size() >= 2);
        if (service == Service::HangsThenAnswers)
            QVERIFY(firstsTaken >= 1 && secondsTaken >= 1);

        const double tick = Waits::kReportRetryMs * kRunScale;
        const qint64 waited = endedAt - closedAt;
        QVERIFY2(waited >= earliestEnd * tick && waited <= latestEnd * tick,
            qPrintable(QStringLiteral("ended %1 ms after the close").arg(waited)));
    }
};

UNINSTALL_TEST_MAIN(TestReportDelivery)
#include "tst_reportdelivery.moc"
