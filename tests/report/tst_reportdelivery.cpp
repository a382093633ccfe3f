// A whole removal in a process of its own, walked by the host's autopilot against a loopback
// feedback service: the reports it receives, and how long the hidden wizard waits for them.
// Times are measured from outside with generous bounds; they tell the 5-second ticks and the
// 30-second limit apart, nothing finer.

#include "httptestserver.h"
#include "reportexpectations.h"
#include "testenvironment.h"

#include "platform.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

namespace {

const QString kPath = QStringLiteral("/feedback");
const QString kUserId = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");
const QString kEmail = QStringLiteral("ana@example.com");
const QString kNote = QStringLiteral("Too many windows");

enum class Service { Accepts, RefusesFirst, RefusesSecondOnce, NeverAnswers };

bool isFirstReport(const QByteArray& body)
{
    return body.contains("\"uninstallCause\"");
}

// The walk a user makes: continue, tick a cause and write a note, continue twice, wait for
// the removal, leave an address and press Done.
QString writeScript()
{
    // Every step waits for its widget with room to spare on a busy machine.
    const QStringList steps {
        QStringLiteral("wait btnContinue_1 enabled 60000"),
        QStringLiteral("click btnContinue_1"),
        QStringLiteral("wait crash enabled 60000"),
        QStringLiteral("click crash"),
        QStringLiteral("wait causeEdit enabled 60000"),
        QStringLiteral("type causeEdit ") + kNote,
        QStringLiteral("wait btnContinue_2 enabled 60000"),
        QStringLiteral("click btnContinue_2"),
        QStringLiteral("wait btnContinue_3 enabled 60000"),
        QStringLiteral("click btnContinue_3"),
        QStringLiteral("wait emailEdit enabled 60000"),
        QStringLiteral("type emailEdit ") + kEmail,
        QStringLiteral("wait btnComplete enabled 60000"),
        QStringLiteral("click btnComplete"),
    };
    const QString path = TestEnv::sandboxRoot() + QStringLiteral("/scripts/remove.txt");
    TestEnv::writeFile(path, steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    return path;
}

bool configure(const QString& installation, const QString& reportUrl)
{
    QFile file(installation + QStringLiteral("/product.json"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonObject product = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject params = product.value(QStringLiteral("extendParams")).toObject();
    params.insert(QStringLiteral("uninstallTest"), QStringLiteral("0"));
    params.insert(QStringLiteral("uninstallReportUrl"), reportUrl);
    product.insert(QStringLiteral("extendParams"), params);
    return TestEnv::writeFile(file.fileName(), QJsonDocument(product).toJson());
}

struct Delivery {
    QList<QByteArray> first;
    QList<QByteArray> second;
    qint64 closedAt = -1; // the second report's first arrival, in ms since the start
    qint64 endedAt = -1;
};

} // namespace

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
        QTest::addColumn<int>("serviceRow");
        QTest::addColumn<int>("earliestEndS"); // after the close
        QTest::addColumn<int>("latestEndS");
        QTest::addColumn<int>("secondPosts"); // -1: at least two
        QTest::addColumn<int>("firstPosts");

        QTest::newRow("service takes both") << int(Service::Accepts) << 4 << 12 << 1 << 1;
        QTest::newRow("first report refused") << int(Service::RefusesFirst) << 4 << 12 << 1 << 1;
        QTest::newRow("second report taken on the retry")
            << int(Service::RefusesSecondOnce) << 9 << 17 << 2 << 1;
        QTest::newRow("service never answers")
            << int(Service::NeverAnswers) << 25 << 40 << -1 << -1;
    }

    void removalReportsAndEnds()
    {
        QFETCH(int, serviceRow);
        const Service service = Service(serviceRow);
        QFETCH(int, earliestEndS);
        QFETCH(int, latestEndS);
        QFETCH(int, secondPosts);
        QFETCH(int, firstPosts);

        QElapsedTimer clock;
        clock.start();
        Delivery delivery;
        HttpTestServer server;
        QVERIFY(server.listen());
        server.setHandler(kPath, [&](const HttpTestServer::Request& request) {
            const bool first = isFirstReport(request.body);
            (first ? delivery.first : delivery.second).append(request.body);
            if (!first && delivery.closedAt < 0)
                delivery.closedAt = clock.elapsed();
            switch (service) {
            case Service::Accepts:
                break;
            case Service::RefusesFirst:
                if (first)
                    return HttpTestServer::Response::error(500);
                break;
            case Service::RefusesSecondOnce:
                if (!first && delivery.second.size() == 1)
                    return HttpTestServer::Response::error(503);
                break;
            case Service::NeverAnswers:
                return HttpTestServer::Response::noAnswer();
            }
            return HttpTestServer::Response::json(R"({"code":0})");
        });

        const QString installation
            = TestEnv::makeInstallation(QString::fromLatin1(QTest::currentDataTag())
                                            .replace(QLatin1Char(' '), QLatin1Char('-')));
        QVERIFY(configure(installation, server.address(kPath)));
        TestEnv::clearLog();

        QProcess wizard;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TERN_AUTOPILOT"), writeScript());
        wizard.setProcessEnvironment(environment);
        connect(&wizard, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [&] { delivery.endedAt = clock.elapsed(); });
        wizard.start(
            installation + QStringLiteral("/uninstaller"), { QStringLiteral("-start_uninstall") });
        QTRY_VERIFY_WITH_TIMEOUT(delivery.endedAt >= 0, 120000);

        const QByteArray errors = wizard.readAllStandardError();
        QVERIFY2(wizard.exitStatus() == QProcess::NormalExit, errors.constData());
        // The host prints main_entry's whole result; its exit status can only carry 512 >> 8.
        QVERIFY2(
            wizard.readAllStandardOutput().contains("main_entry returned 512"), errors.constData());
        QVERIFY2(!QFile::exists(installation + QStringLiteral("/product.json")), "the removal ran");

        // The documents, byte for byte, tied together by one report id.
        QVERIFY(!delivery.first.isEmpty() && !delivery.second.isEmpty());
        const QByteArray first = delivery.first.first();
        const QByteArray causes
            = "[{\"slow\":false},{\"crash\":true},{\"price\":false},{\"features\":false},"
              "{\"other\":false},\"Too many windows\"]";
        QCOMPARE(first, ReportExpectations::firstReport(first, causes, kUserId));
        const QByteArray second = ReportExpectations::secondReport(
            ReportExpectations::reportId(first), kEmail, kUserId);
        for (const QByteArray& body : qAsConst(delivery.first))
            QCOMPARE(body, first);
        for (const QByteArray& body : qAsConst(delivery.second))
            QCOMPARE(body, second);

        // The first report left before the removal began.
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        const int reported = log.indexOf(QStringLiteral("start first report!"));
        const int removing = log.indexOf(QStringLiteral("FileDeletionThread start!"));
        QVERIFY(reported >= 0 && removing >= 0);
        QVERIFY(reported < removing);
        QVERIFY(log.indexOf(QStringLiteral("start second report!")) > removing);

        if (firstPosts >= 0)
            QCOMPARE(delivery.first.size(), firstPosts);
        if (secondPosts >= 0)
            QCOMPARE(delivery.second.size(), secondPosts);
        else
            QVERIFY(delivery.first.size() >= 2 && delivery.second.size() >= 2);

        const qint64 waited = delivery.endedAt - delivery.closedAt;
        QVERIFY2(waited >= earliestEndS * 1000 && waited <= latestEndS * 1000,
            qPrintable(QStringLiteral("ended %1 ms after the close").arg(waited)));
    }
};

UNINSTALL_TEST_MAIN(TestReportDelivery)
#include "tst_reportdelivery.moc"
