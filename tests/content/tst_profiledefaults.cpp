#include "content/uninstallprofile.h"

#include "contentevents.h"
#include "httptestserver.h"
#include "testenvironment.h"

#include "ternlog.h"
#include "ternsettings.h"

#include <QFile>
#include <QTcpServer>
#include <QtTest>


namespace {

// The default documents these checks expect, whatever the sample product ships.
const char* const kDefaultDocuments[][2] = {
    { "recommendApp.json", R"({"recommendApp":{"en":[{"icon":"photo.png","name":"Tern Photo","url":"https://www.example.com/photo"},{"icon":"video.png","name":"Tern Video","url":"https://www.example.com/video"},{"icon":"pdf.png","name":"Tern PDF","url":"https://www.example.com/pdf"},{"icon":"backup.png","name":"Tern Backup","url":"https://www.example.com/backup"}]}})" },
    { "uninstallChose.json", R"({"uninstallCuaseCheck":false,"users":"50 million","uninstallChose":{"default":["slow","crash","price","features","other"]}})" },
    { "uninstallCause.json", R"({"uninstallCause":{"default":{"slow":"The program is too slow","crash":"The program crashes or freezes","price":"The price is too high","features":"It lacks the features I need","other":"Other reasons"}}})" },
};

} // namespace

// Every way the service can fail ends with the shipped defaults on the window's slots.
class TestProfileDefaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void serviceFailureDeliversDefaults_data();
    void serviceFailureDeliversDefaults();
    void lateServiceTimesOutAndIsIgnored();
    void missingCauseChoiceDocument();
    void languageWithoutApplications();

private:
    static QStringList errorsStartingWith(const QString& prefix);
    void verifyDefaultsDeliveredOnce(const ContentEvents& events);

    HttpTestServer* m_server = nullptr;
    QByteArray m_choseDocument;
};

void TestProfileDefaults::initTestCase()
{
    SetLogfile((TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
    SetLogLevel(1);
    for (const auto& document : kDefaultDocuments) {
        QVERIFY(TestEnv::writeFile(TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/")
                + QLatin1String(document[0]),
            document[1]));
    }
    QFile chose(TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/uninstallChose.json"));
    QVERIFY(chose.open(QIODevice::ReadOnly));
    m_choseDocument = chose.readAll();
}

void TestProfileDefaults::init()
{
    TestEnv::clearLog();
    TernSettings::instance()->setValue(QStringLiteral("language"), QStringLiteral("en"));
    m_server = new HttpTestServer(this);
    QVERIFY(m_server->listen());
}

void TestProfileDefaults::cleanup()
{
    delete m_server;
    m_server = nullptr;
    TestEnv::writeFile(
        TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/uninstallChose.json"),
        m_choseDocument);
}

QStringList TestProfileDefaults::errorsStartingWith(const QString& prefix)
{
    QStringList found;
    const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
    for (const QString& line : errors) {
        if (line.startsWith(prefix))
            found.append(line);
    }
    return found;
}

void TestProfileDefaults::verifyDefaultsDeliveredOnce(const ContentEvents& events)
{
    QCOMPARE(events.order, (QStringList { "recAppEmit", "uninstallCauseEmit", "downLoadResEmit" }));
    QCOMPARE(events.recApps.first().size(), 4);
    QCOMPARE(events.recApps.first().first(),
        (RecApp { "photo.png", "Tern Photo", "https://www.example.com/photo" }));
    const ContentEvents::Causes& causes = events.causes.first();
    QCOMPARE(causes.causeCheck, false);
    QCOMPARE(causes.keys, (QVector<QString> { "slow", "crash", "price", "features", "other" }));
    QCOMPARE(causes.texts.value(QStringLiteral("price")), QStringLiteral("The price is too high"));
    QCOMPARE(causes.texts.size(), 5);
    QCOMPARE(causes.users, QStringLiteral("50 million"));
}

void TestProfileDefaults::serviceFailureDeliversDefaults_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("errorLine"); // the start of the expected "error" line

    QTest::newRow("address unset") << "unset"
                                   << "NetworkError error:";
    QTest::newRow("service down") << "down"
                                  << "NetworkError error:Connection refused";
    QTest::newRow("error status") << "status"
                                  << "NetworkError error:";
    QTest::newRow("connection dropped") << "drop"
                                        << "NetworkError error:";
    QTest::newRow("invalid body") << "invalid"
                                  << "JSON parsing error:";
    QTest::newRow("array body") << "array"
                                << "service configuration is not a JSON object";
}

void TestProfileDefaults::serviceFailureDeliversDefaults()
{
    QFETCH(QString, setup);
    QFETCH(QString, errorLine);

    QString address = m_server->address(QStringLiteral("/config.json"));
    if (setup == QLatin1String("unset")) {
        address.clear();
    } else if (setup == QLatin1String("down")) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        address = QStringLiteral("http://127.0.0.1:%1/config.json").arg(closed.serverPort());
    } else if (setup == QLatin1String("status")) {
        m_server->setResponse(QStringLiteral("/config.json"), HttpTestServer::Response::error(503));
    } else if (setup == QLatin1String("drop")) {
        m_server->setResponse(
            QStringLiteral("/config.json"), HttpTestServer::Response::closeConnection());
    } else if (setup == QLatin1String("invalid")) {
        m_server->setResponse(
            QStringLiteral("/config.json"), HttpTestServer::Response::json("{\"version\": "));
    } else if (setup == QLatin1String("array")) {
        m_server->setResponse(QStringLiteral("/config.json"),
            HttpTestServer::Response::json(
                R"([{"version": "1", "recommendApp": "http://127.0.0.1:1/"}])"));
    }
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), address);

    QElapsedTimer sinceStart;
    sinceStart.start();
    UninstallProfile profile;
    ContentEvents events(&profile);
    QTRY_COMPARE_WITH_TIMEOUT(events.ready, 1, 2500);
    verifyDefaultsDeliveredOnce(events);

    QCOMPARE(errorsStartingWith(errorLine).size(), 1);
    const QStringList debug = TestEnv::logMessages(QStringLiteral("debug"));
    QVERIFY(!debug.contains(QStringLiteral("readuninstallConfig faild!")));
    const bool replyFailed = errorLine.startsWith(QStringLiteral("NetworkError"));
    QCOMPARE(debug.contains(QStringLiteral("load default res!")), replyFailed);

    // Nothing more comes, not even when the time-out would have expired.
    QTest::qWait(qMax<qint64>(0, UninstallProfile::kServiceTimeoutMs + 300 - sinceStart.elapsed()));
    QCOMPARE(events.order.size(), 3);
}

void TestProfileDefaults::lateServiceTimesOutAndIsIgnored()
{
    // A valid configuration, but too late: using it would request the documents.
    const QByteArray config = R"({"version": "1", "recommendApp": ")"
        + m_server->address(QStringLiteral("/rec.json")).toUtf8() + R"(", "uninstallChose": ")"
        + m_server->address(QStringLiteral("/chose.json")).toUtf8() + "\"}";
    const int delay = UninstallProfile::kServiceTimeoutMs + 500;
    m_server->setResponse(
        QStringLiteral("/config.json"), HttpTestServer::Response::json(config).delayed(delay));
    TestEnv::setExtendParam(
        QStringLiteral("uninstallConfigURL"), m_server->address(QStringLiteral("/config.json")));

    UninstallProfile profile;
    ContentEvents events(&profile);
    QTRY_COMPARE_WITH_TIMEOUT(events.ready, 1, UninstallProfile::kServiceTimeoutMs + 2000);
    verifyDefaultsDeliveredOnce(events);
    QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                .contains(QStringLiteral("readuninstallConfig faild!")));

    // Past the moment the server answers: the aborted reply loads nothing a second time.
    QTest::qWait(delay - UninstallProfile::kServiceTimeoutMs + 300);
    QCOMPARE(events.order.size(), 3);
    QCOMPARE(m_server->requestCount(QStringLiteral("/config.json")), 1);
    QCOMPARE(m_server->requestCount(QStringLiteral("/rec.json")), 0);
    QCOMPARE(m_server->requestCount(QStringLiteral("/chose.json")), 0);
    QVERIFY(errorsStartingWith(QStringLiteral("NetworkError error:")).isEmpty());
}

void TestProfileDefaults::missingCauseChoiceDocument()
{
    QVERIFY(QFile::remove(
        TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/uninstallChose.json")));
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());

    UninstallProfile profile;
    ContentEvents events(&profile);
    QTRY_COMPARE(events.ready, 1);
    QCOMPARE(events.order, (QStringList { "recAppEmit", "uninstallCauseEmit", "downLoadResEmit" }));
    QVERIFY(events.causes.first().keys.isEmpty());
    QVERIFY(events.causes.first().texts.isEmpty());
    QCOMPARE(events.causes.first().users, QString());
    QCOMPARE(errorsStartingWith(
                 QStringLiteral("Failed to open DefaultJsonFile file(/uninstallChose.json): "))
                 .size(),
        1);
}

void TestProfileDefaults::languageWithoutApplications()
{
    TestEnv::writeFile(
        TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/uninstallChose.json"),
        R"({"users": "7", "uninstallChose": {"de": ["price", "nope"], "default": ["slow"]}})");
    TernSettings::instance()->setValue(QStringLiteral("language"), QStringLiteral("de"));
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());

    UninstallProfile profile;
    ContentEvents events(&profile);
    QTRY_COMPARE(events.ready, 1);
    // The applications have no fall-back language; the causes fall back to "default" texts.
    QCOMPARE(events.recApps.size(), 1);
    QVERIFY(events.recApps.first().isEmpty());
    const ContentEvents::Causes& causes = events.causes.first();
    QCOMPARE(causes.keys, (QVector<QString> { "price", "nope" }));
    QCOMPARE(causes.texts,
        (QMap<QString, QString> { { "price", "The price is too high" }, { "nope", "" } }));
    QCOMPARE(causes.users, QStringLiteral("7"));
}

UNINSTALL_TEST_MAIN(TestProfileDefaults)
#include "tst_profiledefaults.moc"
