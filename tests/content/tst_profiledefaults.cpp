#include "content/uninstallprofile.h"

#include "entry/waits.h"

#include "contentevents.h"
#include "loopbackserver.h"
#include "testenvironment.h"

#include "ternlog.h"
#include "ternsettings.h"

#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QtTest>
#include <algorithm>

namespace {

// The default documents these checks expect, whatever the sample product ships.
const char* const kDefaultDocuments[][2] = {
    { "recommendApp.json",
        R"({"recommendApp":{"en":[{"icon":"photo.png","name":"Tern Photo","url":"https://www.example.com/photo"},{"icon":"video.png","name":"Tern Video","url":"https://www.example.com/video"},{"icon":"pdf.png","name":"Tern PDF","url":"https://www.example.com/pdf"},{"icon":"backup.png","name":"Tern Backup","url":"https://www.example.com/backup"}]}})" },
    { "uninstallChose.json",
        R"({"uninstallCuaseCheck":false,"users":"50 million","uninstallChose":{"default":["slow","crash","price","features","other"]}})" },
    { "uninstallCause.json",
        R"({"uninstallCause":{"default":{"slow":"The program is too slow","crash":"The program crashes or freezes","price":"The price is too high","features":"It lacks the features I need","other":"Other reasons"}}})" },
};

const char* const kArrayConfig = R"([{"version": "1", "recommendApp": "http://127.0.0.1:1/"}])";

QString configDocument(const char* name)
{
    return TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/") + QLatin1String(name);
}

int errorsStartingWith(const QString& prefix)
{
    const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
    return int(std::count_if(errors.begin(), errors.end(),
        [&](const QString& line) { return line.startsWith(prefix); }));
}

void verifyDefaultsDelivered(const ContentEvents& events)
{
    QCOMPARE(events.order, (QStringList { "recAppEmit", "uninstallCauseEmit", "downLoadResEmit" }));
    QCOMPARE(events.recApps.first().size(), 4);
    QCOMPARE(events.recApps.first().first(),
        (RecApp { "photo.png", "Tern Photo", "https://www.example.com/photo" }));
    const ContentEvents::Causes& causes = events.causes.first();
    QCOMPARE(causes.causeCheck, false);
    QCOMPARE(causes.keys, (QVector<QString> { "slow", "crash", "price", "features", "other" }));
    QCOMPARE(causes.texts.size(), 5);
    QCOMPARE(causes.texts.value(QStringLiteral("price")), QStringLiteral("The price is too high"));
    QCOMPARE(causes.users, QStringLiteral("50 million"));
}

} // namespace

// Every way the service can fail ends with the shipped defaults on the window's slots.
class TestProfileDefaults : public QObject {
    Q_OBJECT

    LoopbackServer* m_server = nullptr;
    QByteArray m_choseDocument;

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        // The configuration's wait, shrunk, still leaves a loopback answer room to come first.
        Waits::setScale(0.5);
        for (const auto& document : kDefaultDocuments)
            QVERIFY(TestEnv::writeFile(configDocument(document[0]), document[1]));
        m_choseDocument = kDefaultDocuments[1][1];
        TernSettings::instance()->setValue(QStringLiteral("language"), QStringLiteral("en"));
    }

    void init()
    {
        TestEnv::clearLog();
        m_server = new LoopbackServer;
        QVERIFY(m_server->listen());
    }

    void cleanup()
    {
        delete m_server;
        m_server = nullptr;
        TestEnv::writeFile(configDocument("uninstallChose.json"), m_choseDocument);
    }

    void serviceFailureDeliversDefaults_data()
    {
        using Response = LoopbackServer::Response;
        QTest::addColumn<QString>("address"); // "unset", "down" or "served"
        QTest::addColumn<Response>("response");
        QTest::addColumn<QString>("errorLine"); // the start of the expected "error" line

        QTest::newRow("address unset") << "unset" << Response() << "NetworkError error:";
        QTest::newRow("service down")
            << "down" << Response() << "NetworkError error:Connection refused";
        QTest::newRow("error status") << "served" << Response::error(503) << "NetworkError error:";
        QTest::newRow("cut off") << "served" << Response::truncated("{\"version\": \"1\"}", 4)
                                 << "NetworkError error:";
        QTest::newRow("invalid body")
            << "served" << Response::json("{\"version\": ") << "JSON parsing error:";
        QTest::newRow("array body") << "served" << Response::json(kArrayConfig)
                                    << "service configuration is not a JSON object";
    }

    void serviceFailureDeliversDefaults()
    {
        QFETCH(QString, address);
        QFETCH(LoopbackServer::Response, response);
        QFETCH(QString, errorLine);

        QString url;
        if (address == QLatin1String("down")) {
            QTcpServer closed; // a port that was just free refuses the connection
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/config.json").arg(closed.serverPort());
        } else if (address == QLatin1String("served")) {
            m_server->setResponse(QStringLiteral("/config.json"), response);
            url = m_server->address(QStringLiteral("/config.json"));
        }
        TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), url);

        QElapsedTimer sinceStart;
        sinceStart.start();
        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 1);
        verifyDefaultsDelivered(events);

        QCOMPARE(errorsStartingWith(errorLine), 1);
        const QStringList debug = TestEnv::logMessages(QStringLiteral("debug"));
        QVERIFY(!debug.contains(QStringLiteral("readuninstallConfig faild!")));
        QCOMPARE(debug.contains(QStringLiteral("load default res!")),
            errorLine.startsWith(QStringLiteral("NetworkError")));

        // Nothing more comes, not even when the time-out would have expired.
        const int wait = Waits::scaled(Waits::kConfigurationMs);
        QTest::qWait(qMax<qint64>(0, wait + 300 - sinceStart.elapsed()));
        QCOMPARE(events.order.size(), 3);
    }

    void lateServiceTimesOutAndIsIgnored()
    {
        // A valid configuration, but too late: using it would request the documents.
        const QJsonObject config { { "version", "1" },
            { "recommendApp", m_server->address(QStringLiteral("/rec.json")) },
            { "uninstallChose", m_server->address(QStringLiteral("/chose.json")) } };
        const int wait = Waits::scaled(Waits::kConfigurationMs);
        const int delay = wait + 500;
        m_server->setResponse(QStringLiteral("/config.json"),
            LoopbackServer::Response::json(QJsonDocument(config).toJson()).delayed(delay));
        TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"),
            m_server->address(QStringLiteral("/config.json")));

        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE_WITH_TIMEOUT(events.ready, 1, wait + 2000);
        verifyDefaultsDelivered(events);
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains(QStringLiteral("readuninstallConfig faild!")));

        // Past the moment the server answers: the aborted reply loads nothing a second time.
        QTest::qWait(delay - wait + 300);
        QCOMPARE(events.order.size(), 3);
        QCOMPARE(m_server->requestedPaths(), QStringList { "/config.json" });
        QCOMPARE(errorsStartingWith(QStringLiteral("NetworkError error:")), 0);
    }

    void missingCauseChoiceDocument()
    {
        QVERIFY(QFile::remove(configDocument("uninstallChose.json")));
        TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());

        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 1);
        QCOMPARE(
            events.order, (QStringList { "recAppEmit", "uninstallCauseEmit", "downLoadResEmit" }));
        QVERIFY(events.causes.first().keys.isEmpty());
        QVERIFY(events.causes.first().texts.isEmpty());
        QCOMPARE(errorsStartingWith(
                     QStringLiteral("Failed to open DefaultJsonFile file(/uninstallChose.json): ")),
            1);
    }
};

UNINSTALL_TEST_MAIN(TestProfileDefaults)
#include "tst_profiledefaults.moc"
