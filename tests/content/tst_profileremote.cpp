#include "content/uninstallprofile.h"
#include "content/urlhandler.h"
#include "entry/waits.h"

#include "contentevents.h"
#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include "ternlog.h"
#include "ternsettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <algorithm>

namespace {

QByteArray downloaded(const QString& name)
{
    QFile file(UrlHandler::downloadDirectory() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A distinct picture per path, so that a file tells where it came from.
QByteArray pictureOf(const QString& path)
{
    return TestFiles::png(8 + int(qHash(path) % 64));
}

QString version()
{
    return TernSettings::instance()
        ->value(QStringLiteral("uninstall_version"), QString())
        .toString();
}

} // namespace

// The live service: documents from a loopback server, pictures into the download directory.
class TestProfileRemote : public QObject {
    Q_OBJECT

    QString address(const QString& path) const { return m_server->address(path); }

    // icons: (icon name, picture path on the server) per application, in document order.
    void serveDocuments(
        const QString& version, const QList<QPair<QString, QString>>& icons, int appsDelayMs = 0)
    {
        using Response = LoopbackServer::Response;
        const QJsonObject config { { "version", version },
            { "banner_pic", address(QStringLiteral("/pics/banner_")) },
            { "promotion_pic", address(QStringLiteral("/pics/promotion_")) },
            { "recommendApp", address(QStringLiteral("/rec.json")) },
            { "uninstallChose", address(QStringLiteral("/chose.json")) },
            { "uninstallCause", address(QStringLiteral("/cause.json")) } };
        m_server->setResponse(
            QStringLiteral("/config.json"), Response::json(QJsonDocument(config).toJson()));

        QJsonArray apps;
        for (const auto& icon : icons) {
            apps.append(QJsonObject { { "icon", icon.first }, { "name", "App " + icon.first },
                { "url", "https://apps.example/" + icon.first },
                { "pic_url", address(icon.second) } });
            m_server->setResponse(icon.second, Response::ok(pictureOf(icon.second)));
        }
        const QJsonObject rec { { "recommendApp", QJsonObject { { "en", apps } } } };
        m_server->setResponse(QStringLiteral("/rec.json"),
            Response::json(QJsonDocument(rec).toJson()).delayed(appsDelayMs));
        m_server->setResponse(QStringLiteral("/chose.json"),
            Response::json(R"({"uninstallCuaseCheck": true, "users": "3 users",
                "uninstallChose": {"en": ["a", "b"], "default": ["x"]}})"));
        m_server->setResponse(QStringLiteral("/cause.json"),
            Response::json(R"({"uninstallCause": {"default": {"b": "Bee", "c": "Sea"}}})"));
        for (const QString& picture :
            { QStringLiteral("/pics/banner_en.png"), QStringLiteral("/pics/promotion_en.png") })
            m_server->setResponse(picture, Response::ok(pictureOf(picture)));
    }

    // Picture paths requested, sorted: up to four are fetched at a time.
    QStringList pictureRequests() const
    {
        QStringList pictures = m_server->requestedPaths();
        pictures.erase(
            std::remove_if(pictures.begin(), pictures.end(),
                [](const QString& path) { return path.endsWith(QLatin1String(".json")); }),
            pictures.end());
        pictures.sort();
        return pictures;
    }

    LoopbackServer* m_server = nullptr;

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        Waits::setScale(0.5);
    }

    void init()
    {
        TestEnv::clearLog();
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        QDir(UrlHandler::downloadDirectory()).removeRecursively();
        m_server = new LoopbackServer;
        QVERIFY(m_server->listen());
        TestEnv::setExtendParam(
            QStringLiteral("uninstallConfigURL"), address(QStringLiteral("/config.json")));
    }

    void cleanup()
    {
        delete m_server;
        m_server = nullptr;
    }

    void firstRunDownloadsOnceThenReuses()
    {
        serveDocuments("3", { { "a.png", "/icons/a.png" }, { "b.png", "/icons/b.png" } });
        {
            UninstallProfile profile;
            ContentEvents events(&profile);
            QTRY_COMPARE(events.ready, 1);
            QTRY_COMPARE(events.causes.size(), 1);

            QCOMPARE(pictureRequests(),
                (QStringList { "/icons/a.png", "/icons/b.png", "/pics/banner_en.png",
                    "/pics/promotion_en.png" }));
            QCOMPARE(downloaded("banner_pic_en.png"), pictureOf("/pics/banner_en.png"));
            QCOMPARE(downloaded("promotion_pic_en.png"), pictureOf("/pics/promotion_en.png"));
            QCOMPARE(downloaded("a.png"), pictureOf("/icons/a.png"));
            QCOMPARE(downloaded("b.png"), pictureOf("/icons/b.png"));
            QCOMPARE(version(), QStringLiteral("3"));

            QCOMPARE(events.recApps.size(), 1);
            QCOMPARE(events.recApps.first().size(), 2);
            QCOMPARE(events.recApps.first().first(),
                (RecApp { "a.png", "App a.png", "https://apps.example/a.png" }));
            const ContentEvents::Causes& causes = events.causes.first();
            QCOMPARE(causes.causeCheck, true);
            QCOMPARE(causes.keys, (QVector<QString> { "a", "b" }));
            // The remote texts are taken whole, not only for the collected keys.
            QCOMPARE(causes.texts, (QMap<QString, QString> { { "b", "Bee" }, { "c", "Sea" } }));
            QCOMPARE(causes.users, QStringLiteral("3 users"));
            QCOMPARE(events.ready, 1);
            QVERIFY(
                TestEnv::logMessages("debug").contains(QStringLiteral("start parse Json ending!")));
            QVERIFY(TestEnv::logMessages("error").isEmpty());
        }

        // Same version again: the documents are read, no picture is fetched.
        m_server->clearRecords();
        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 1);
        QTRY_COMPARE(events.causes.size(), 1);
        QCOMPARE(events.recApps.size(), 1);
        QCOMPARE(m_server->requestCount(QStringLiteral("/cause.json")), 1);
        QVERIFY(pictureRequests().isEmpty());
        // Nor does the pictures' deadline bring a second delivery.
        QTest::qWait(Waits::scaled(Waits::kConfigurationMs) + 200);
        QCOMPARE(events.ready, 1);
    }

    void failingIconDoesNotStopTheQueue()
    {
        serveDocuments("4",
            { { "a.png", "/icons/a.png" }, { "b.png", "/icons/b.png" },
                { "c.png", "/icons/c.png" } });
        m_server->setResponse(QStringLiteral("/icons/b.png"), LoopbackServer::Response::error(500));

        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 1);
        QCOMPARE(pictureRequests().size(), 5);
        QCOMPARE(downloaded("c.png"), pictureOf("/icons/c.png"));
        QVERIFY(!QFile::exists(UrlHandler::downloadDirectory() + "b.png"));
        const QStringList errors = TestEnv::logMessages("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(QStringLiteral("NetworkError error:")));
        QTRY_COMPARE(events.causes.size(), 1);
        QCOMPARE(events.ready, 1);
    }

    // A failed document brings the defaults; what the service delivers after that replaces
    // them, while applications it delivered before stay.
    void failingCauseChoiceAddsTheDefaults_data()
    {
        QTest::addColumn<bool>("applicationsFirst");
        QTest::addColumn<QList<int>>("applicationLists"); // sizes, in the order emitted
        QTest::newRow("applications after the failure") << false << QList<int> { 4, 1 };
        QTest::newRow("applications before the failure") << true << QList<int> { 1 };
    }

    void failingCauseChoiceAddsTheDefaults()
    {
        QFETCH(bool, applicationsFirst);
        QFETCH(QList<int>, applicationLists);
        using Response = LoopbackServer::Response;
        serveDocuments("5", { { "a.png", "/icons/a.png" } }, applicationsFirst ? 0 : 300);
        m_server->setResponse(QStringLiteral("/chose.json"),
            Response::error(404).delayed(applicationsFirst ? 300 : 0));

        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 2);
        QTRY_COMPARE(events.recApps.size(), applicationLists.size());
        QList<int> sizes;
        for (const QVector<RecApp>& apps : qAsConst(events.recApps))
            sizes.append(apps.size());
        QCOMPARE(sizes, applicationLists);
        QCOMPARE(downloaded("a.png"), pictureOf("/icons/a.png"));
        QCOMPARE(events.causes.size(), 1);
        QCOMPARE(events.causes.first().keys.size(), 5);
        QCOMPARE(events.order.last(), QStringLiteral("downLoadResEmit"));
        QCOMPARE(m_server->requestCount(QStringLiteral("/cause.json")), 0);
        QVERIFY(TestEnv::logMessages("debug").contains(QStringLiteral("load default res!")));
    }

    void hostileIconNamesWriteNothing_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::newRow("climbing") << "../../evil.sh";
        QTest::newRow("sub folder") << "sub/evil.sh";
        QTest::newRow("absolute") << QString(TestEnv::sandboxRoot() + "/evil.sh");
        QTest::newRow("empty") << "";
    }

    void hostileIconNamesWriteNothing()
    {
        QFETCH(QString, icon);
        serveDocuments("7", { { icon, "/icons/evil.sh" }, { "ok.png", "/icons/ok.png" } });

        UninstallProfile profile;
        ContentEvents events(&profile);
        QTRY_COMPARE(events.ready, 1);
        QCOMPARE(pictureRequests().filter("/icons/"), QStringList { "/icons/ok.png" });
        QCOMPARE(
            TestEnv::logMessages("error"), QStringList { "refused download file name: " + icon });
        QDirIterator it(
            TestEnv::sandboxRoot(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            QVERIFY2(!it.next().endsWith(QStringLiteral("evil.sh")), qPrintable(it.filePath()));
        // The application is still shown; only its picture is not fetched.
        QCOMPARE(events.recApps.first().first().icon, icon);
    }

    void destroyedWhileRequestsHang()
    {
        serveDocuments("8", {});
        m_server->setResponse(QStringLiteral("/rec.json"), LoopbackServer::Response::noAnswer());
        m_server->setResponse(QStringLiteral("/chose.json"), LoopbackServer::Response::noAnswer());

        auto* profile = new UninstallProfile;
        QTRY_COMPARE(m_server->requestCount(QStringLiteral("/rec.json")), 1);
        QTRY_COMPARE(m_server->requestCount(QStringLiteral("/chose.json")), 1);
        delete profile; // joins the worker thread without waiting for the server
    }
};

UNINSTALL_TEST_MAIN(TestProfileRemote)
#include "tst_profileremote.moc"
