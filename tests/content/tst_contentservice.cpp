// What the wizard's content source delivers to the window, however the service answers: each
// row serves the configuration, the three documents and the pictures its own way, and names the
// deliveries (sorted: the documents race each other), the error lines and the pictures saved.

#include "content/uninstallprofile.h"
#include "content/urlhandler.h"
#include "entry/waits.h"

#include "servedcontent.h"

#include "ternsettings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

namespace {

using namespace ServedContent;

constexpr double kScale = 0.2;

// Defaults of the test's own, so that the rows do not depend on what the sample product ships.
const char* const kDefaults[][2] = {
    { "recommendApp.json",
        R"({"recommendApp": {"en": [{"icon": "d1.png"}, {"icon": "d2.png"}]}})" },
    { "uninstallChose.json",
        R"({"users": "50 million", "uninstallChose": {"default": ["slow", "price"]}})" },
    { "uninstallCause.json",
        R"({"uninstallCause": {"default": {"slow": "Too slow", "other": "Other"}}})" },
};
// The defaults' texts are looked up by the collected keys; the service's are taken whole.
const QString kDefaultApps = QStringLiteral("apps d1.png||, d2.png||");
const QString kDefaultCauses
    = QStringLiteral("causes slow,price {price=,slow=Too slow} 50 million");
const QString kRemoteApps = QStringLiteral("apps a.png|A|https://a, b.png|B|https://b");
const QString kRemoteCauses = QStringLiteral("causes a,b {b=Bee,slow=Slow} 3 users checked");
const QString kReady = QStringLiteral("ready");
const QStringList kAllPictures { "a.png", "b.png", "banner_pic_en.png", "promotion_pic_en.png" };
const QStringList kOffers { "banner_pic_en.png", "promotion_pic_en.png" };
const QString kEarlierBanner = QStringLiteral("banner_pic_en.png (earlier)");

QString sourceOf(const QString& file)
{
    if (file.contains(QLatin1String("_pic_")))
        return QStringLiteral("/pics/%1_%2")
            .arg(file.section('_', 0, 0), file.section('_', 2).toLower());
    return QStringLiteral("/icons/") + file;
}

QString listOf(const QStringList& icons)
{
    return QStringLiteral("apps ") + icons.join(QStringLiteral("||, ")) + QStringLiteral("||");
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestContentService : public QObject {
    Q_OBJECT

    // Records every delivery of the profile as a line.
    void record(UninstallProfile* profile)
    {
        connect(profile, &UninstallProfile::recAppEmit, this, [this](const QVector<RecApp>& apps) {
            QStringList line;
            for (const RecApp& app : apps)
                line.append(QStringList { app.icon, app.name, app.url }.join('|'));
            m_events.append(QStringLiteral("apps ") + line.join(QStringLiteral(", ")));
        });
        connect(profile, &UninstallProfile::uninstallCauseEmit, this,
            [this](bool check, const QVector<QString>& keys, const QMap<QString, QString>& texts,
                const QString& users) {
                QStringList pairs;
                for (auto it = texts.begin(); it != texts.end(); ++it)
                    pairs.append(it.key() + '=' + it.value());
                m_events.append(QStringLiteral("causes %1 {%2} %3%4")
                                    .arg(QStringList(keys.toList()).join(','), pairs.join(','),
                                        users, check ? QStringLiteral(" checked") : QString()));
            });
        connect(
            profile, &UninstallProfile::downLoadResEmit, this, [this] { m_events.append(kReady); });
    }

    // The files of the download directory; a kept file of an earlier run is marked.
    QStringList saved() const
    {
        QStringList files;
        const QDir folder(UrlHandler::downloadDirectory());
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            file.open(QIODevice::ReadOnly);
            const QByteArray content = file.readAll();
            files.append(content == pictureOf(sourceOf(name)) ? name
                    : content == TestFiles::png(4)            ? name + QStringLiteral(" (earlier)")
                                                   : name + QStringLiteral(" (foreign)"));
        }
        return files;
    }

    int pictureRequests() const
    {
        return m_server->requestedPaths()
            .filter(QRegularExpression(QStringLiteral("^/(pics|icons)/")))
            .size();
    }

    std::unique_ptr<LoopbackServer> m_server;
    QStringList m_events;

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        Waits::setScale(kScale);
        m_server = std::make_unique<LoopbackServer>();
        QVERIFY(m_server->listen());
        for (const auto& document : kDefaults)
            QVERIFY(TestEnv::writeFile(
                TestEnv::resourceRoot() + "/uninstallConfig/" + document[0], document[1]));
    }

    void init()
    {
        TestEnv::clearLog();
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
        QDir(UrlHandler::downloadDirectory()).removeRecursively();
        QVERIFY(TestEnv::writeFile(
            UrlHandler::downloadDirectory() + "banner_pic_en.png", TestFiles::png(4)));
        m_events.clear();
        m_server->clearRecords();
    }

    void delivers_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("events"); // sorted
        QTest::addColumn<QString>("errors"); // how the error lines, joined by " | ", begin
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<int>("fetched"); // pictures asked for
        QTest::addColumn<int>("settleMs"); // waits this long more for anything further

        const QStringList remote { kRemoteApps, kRemoteCauses, kReady };
        const QStringList defaults { kDefaultApps, kDefaultCauses, kReady };
        // Failing documents come late, so that the service's applications are in first.
        const QStringList remoteAppsDefaultCauses { kRemoteApps, kDefaultCauses, kReady, kReady };
        // The pictures' deadline may end an idle queue once more.
        const QStringList defaultAppsRemoteCauses { kDefaultApps, kRemoteCauses, kDefaultCauses,
            kReady, "ready?" };
        const QString timedOut = QStringLiteral("request timed out after %1 ms: ")
                                     .arg(Waits::scaled(Waits::kConfigurationMs));
        const QString network = QStringLiteral("NetworkError error:");
        const QString unusable = QStringLiteral("document without usable content");
        const Response hangs = Response::noAnswer();
        const int late = Waits::scaled(Waits::kConfigurationMs) + 300;

        QTest::newRow("service answers")
            << Answers() << "en" << remote << "" << kAllPictures << 4 << 0;

        // The configuration fails: the defaults, once.
        QTest::newRow("service down")
            << Answers { { "down", Response() } } << "en" << defaults
            << network + "Connection refused" << QStringList { kEarlierBanner } << 0 << 0;
        QTest::newRow("configuration error status")
            << Answers { { "/config.json", Response::error(503) } } << "en" << defaults << network
            << QStringList { kEarlierBanner } << 0 << late;
        QTest::newRow("configuration not JSON")
            << Answers { { "/config.json", Response::json("[" + QByteArray(299, ' ') + "x") } }
            << "en" << defaults << "JSON parsing error:illegal number"
            << QStringList { kEarlierBanner } << 0 << 0;
        QTest::newRow("configuration an array")
            << Answers { { "/config.json", Response::json(R"([{"version": "1"}])") } } << "en"
            << defaults << "service configuration is not a JSON object"
            << QStringList { kEarlierBanner } << 0 << 0;
        // Using it would ask for the documents.
        QTest::newRow("configuration too late")
            << Answers { { "/config.json",
                   Response::json(R"({"recommendApp": "/rec.json"})").delayed(late) } }
            << "en" << defaults << "" << QStringList { kEarlierBanner } << 0 << late;

        // A document fails: the defaults fill in; what the service delivers after replaces
        // them, applications it delivered before stay.
        QTest::newRow("applications hang")
            << Answers { { "/rec.json", hangs } } << "en" << defaultAppsRemoteCauses << timedOut
            << QStringList { kEarlierBanner } << 0 << 0;
        QTest::newRow("cause choice hangs")
            << Answers { { "/chose.json", hangs } } << "en" << remoteAppsDefaultCauses << timedOut
            << kAllPictures << 4 << 0;
        QTest::newRow("cause choice fails, applications come after")
            << Answers { { "/chose.json", Response::error(404) },
                   { "/rec.json", remoteApps().delayed(300) } }
            << "en" << QStringList { kRemoteApps, kDefaultApps, kDefaultCauses, kReady, kReady }
            << network << kAllPictures << 4 << 0;
        QTest::newRow("cause choice fails after the applications")
            << Answers { { "/chose.json", Response::error(404).delayed(300) } } << "en"
            << remoteAppsDefaultCauses << network << kAllPictures << 4 << 0;
        QTest::newRow("cause choice of a string")
            << Answers { { "/chose.json",
                   Response::json(R"({"uninstallChose": {"en": "a"}})").delayed(300) } }
            << "en" << remoteAppsDefaultCauses << unusable << kAllPictures << 4 << 0;
        QTest::newRow("cause texts in the choice's place")
            << Answers { { "/chose.json",
                   Response::json(R"({"uninstallCause": []})").delayed(300) } }
            << "en" << remoteAppsDefaultCauses << unusable << kAllPictures << 4 << 0;
        QTest::newRow("no cause texts")
            << Answers { { "/cause.json",
                   Response::json(R"({"uninstallCause": {"default": {}}})").delayed(300) } }
            << "en" << remoteAppsDefaultCauses << unusable << kAllPictures << 4 << 0;
        QTest::newRow("applications of no known shape")
            << Answers { { "/rec.json", Response::json(R"({"apps": []})") } } << "en"
            << QStringList { kDefaultApps, kRemoteCauses, kDefaultCauses, kReady, kReady }
            << unusable << kOffers << 2 << 0;
        QTest::newRow("cause choice over 1 MB")
            << Answers { { "/chose.json",
                   Response::json(QByteArray(2 << 20, ' ') + "{}").delayed(300) } }
            << "en" << remoteAppsDefaultCauses
            << "download over 1048576 bytes refused: " << kAllPictures << 4 << 0;
        QTest::newRow("applications win over a choice") << Answers { { "/rec.json",
            Response::json(
                R"({"uninstallChose": {"en": ["k"]}, "recommendApp": {"en": [{"icon": "z"}]}})") } }
                                                        << "en"
                                                        << QStringList { "apps z||", kRemoteCauses,
                                                               kReady }
                                                        << "refused picture address: " << kOffers
                                                        << 2 << 0;
        QTest::newRow("choice wins over texts") << Answers { { "/chose.json",
            Response::json(
                R"({"uninstallCause": {"default": {"q": "Q"}}, "uninstallChose": {"default": ["k"]}})") } }
                                                << "en"
                                                << QStringList { kRemoteApps,
                                                       "causes k {b=Bee,slow=Slow} ", kReady }
                                                << "" << kAllPictures << 4 << 0;
        QTest::newRow("a section that is no object is skipped")
            << Answers { { "/cause.json",
                   Response::json(
                       R"({"uninstallChose": [], "uninstallCause": {"default": {"q": "Q"}}})") } }
            << "en" << QStringList { kRemoteApps, "causes a,b {q=Q} 3 users checked", kReady } << ""
            << kAllPictures << 4 << 0;
        const QStringList otherLanguage { kRemoteApps,
            "causes slow {b=Bee,slow=Slow} 3 users checked", kReady };
        QTest::newRow("another language takes the default entry")
            << Answers() << "fr" << otherLanguage << network
            << QStringList { "a.png", "b.png", kEarlierBanner } << 4 << 0;
        // The picture addresses take the language in lower case, the file names as it is.
        QTest::newRow("language codes are exact")
            << Answers() << "EN" << otherLanguage << ""
            << QStringList { "a.png", "b.png", kEarlierBanner, "banner_pic_EN.png",
                   "promotion_pic_EN.png" }
            << 4 << 0;
        QTest::newRow("the product's language without a default")
            << Answers { { "/chose.json", Response::json(R"({"uninstallChose": {"en": ["e"]}})") },
                   { "/rec.json", apps({ "e.png" }, "en") } }
            << "it" << QStringList { "apps e.png||", "causes e {b=Bee,slow=Slow} ", kReady }
            << network << QStringList { kEarlierBanner } << 3 << 0;
        QTest::newRow("no entry for the language")
            << Answers { { "/chose.json",
                   Response::json(R"({"uninstallChose": {"de": ["x"]}})").delayed(300) } }
            << "en" << remoteAppsDefaultCauses << unusable << kAllPictures << 4 << 0;
        QTest::newRow("keys that are no strings read empty")
            << Answers { { "/chose.json",
                   Response::json(R"({"uninstallChose": {"default": ["a", 3, null]}})") } }
            << "en" << QStringList { kRemoteApps, "causes a,, {b=Bee,slow=Slow} ", kReady } << ""
            << kAllPictures << 4 << 0;
        QTest::newRow("check and users only as a top-level boolean and string")
            << Answers { { "/chose.json",
                   Response::json(
                       R"({"uninstallChose": {"default": ["a"], "uninstallCuaseCheck": true, "users": "9"},
                       "uninstallCuaseCheck": "true", "users": 5})") } }
            << "en" << QStringList { kRemoteApps, "causes a {b=Bee,slow=Slow} ", kReady } << ""
            << kAllPictures << 4 << 0;
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many.append(QString::number(i));
        QTest::newRow("at most 24 applications")
            << Answers { { "/rec.json", apps(many) } } << "en"
            << QStringList { listOf(many.mid(0, 24)), kRemoteCauses, kReady } << network << kOffers
            << 26 << 0;
        QTest::newRow("the default entry before the product's language")
            << Answers { { "/rec.json",
                   Response::json(R"({"recommendApp": {"default": [{"icon": "d.png"}],
                       "en": [{"icon": "e.png"}]}})") } }
            << "it" << QStringList { "apps d.png||", otherLanguage[1], kReady }
            << "refused picture address: " << QStringList { kEarlierBanner } << 2 << 0;

        // Pictures: only a whole picture replaces the one of an earlier run, and the queue goes on.
        const QStringList kept { "a.png", "b.png", kEarlierBanner, "promotion_pic_en.png" };
        const auto banner = [](const Response& answer) {
            return Answers { { "/pics/banner_en.png", answer } };
        };
        QTest::newRow("picture moved within the service")
            << Answers { { "/pics/banner_en.png", Response::redirect(302, "/pics/banner_en.png2") },
                   { "/pics/banner_en.png2", Response::ok(pictureOf("/pics/banner_en.png")) } }
            << "en" << remote << "" << kAllPictures << 5 << 0;
        QTest::newRow("picture moved to plain http")
            << banner(Response::redirect(301, "http://content.example/b.png")) << "en" << remote
            << "refused redirect to http://content.example/b.png" << kept << 4 << 0;
        QTest::newRow("picture without content") << banner(Response::error(204)) << "en" << remote
                                                 << network + "empty body" << kept << 4 << 0;
        QTest::newRow("picture server error") << banner(Response::error(500, TestFiles::png()))
                                              << "en" << remote << network << kept << 4 << 0;
        QTest::newRow("not a picture")
            << banner(Response::ok("<html>sorry</html>")) << "en" << remote
            << "refused picture banner_pic_en.png" << kept << 4 << 0;
        QTest::newRow("picture cut off") << banner(Response::truncated(TestFiles::png(), 20))
                                         << "en" << remote << network << kept << 4 << 0;
        // Four at a time: the last two never start.
        const QStringList six { "a.png", "b.png", "c.png", "d.png" };
        Answers hanging { { "/rec.json", apps(six) }, { "/pics/banner_en.png", hangs },
            { "/pics/promotion_en.png", hangs } };
        for (const QString& icon : six)
            hanging.insert("/icons/" + icon, hangs);
        QTest::newRow("pictures share one deadline")
            << hanging << "en" << QStringList { listOf(six), kRemoteCauses, kReady }
            << "pictures not in by the deadline: 6" << QStringList { kEarlierBanner } << 4 << 0;
        // A picture's name from the document may not lead out of the download directory.
        for (const QString& icon : { QStringLiteral("../../evil.sh"), QStringLiteral("sub/evil.sh"),
                 QStringLiteral("..\\evil.sh"), QStringLiteral("C:evil.sh"),
                 QStringLiteral("/tmp/evil.sh"), QString() }) {
            QTest::addRow("icon named \"%s\"", qPrintable(icon))
                << Answers { { "/rec.json", apps({ icon, "ok.png" }) } } << "en"
                << QStringList { listOf({ icon, "ok.png" }), kRemoteCauses, kReady }
                << "refused download file name: " + icon
                << QStringList { "banner_pic_en.png", "ok.png", "promotion_pic_en.png" } << 3 << 0;
        }
    }

    void delivers()
    {
        QFETCH(Answers, answers);
        QFETCH(QString, language);
        QFETCH(QStringList, events);
        QFETCH(QString, errors);
        QFETCH(QStringList, saved);
        QFETCH(int, fetched);
        QFETCH(int, settleMs);
        serve(*m_server, answers);
        if (answers.contains(QStringLiteral("down")))
            TestEnv::setExtendParam(
                QStringLiteral("uninstallConfigURL"), "http://127.0.0.1:1/config.json");
        TernSettings::instance()->setLanguage(language);

        UninstallProfile profile;
        record(&profile);
        const bool optionalReady = events.removeOne(QStringLiteral("ready?"));
        // Whatever hangs, everything is in soon after the content waits.
        const int deadline = 2 * Waits::scaled(Waits::kConfigurationMs) + 1500;
        QTRY_VERIFY2_WITH_TIMEOUT(
            m_events.size() >= events.size(), qPrintable(m_events.join(" | ")), deadline);
        QTest::qWait(settleMs);
        if (optionalReady && m_events.count(kReady) > events.count(kReady))
            m_events.removeOne(kReady);
        QCOMPARE(sorted(m_events), sorted(events));
        const QString errorLines
            = TestEnv::logMessages(QStringLiteral("error")).join(QStringLiteral(" | "));
        QVERIFY2(errors.isEmpty() ? errorLines.isEmpty() : errorLines.startsWith(errors),
            qPrintable(errorLines));
        QCOMPARE(sorted(this->saved()), sorted(saved));
        QCOMPARE(pictureRequests(), fetched);
    }

    // The pictures of a version are fetched once; the documents every time.
    void sameVersionReusesThePictures()
    {
        serve(*m_server);
        {
            UninstallProfile first;
            record(&first);
            QTRY_COMPARE(m_events.size(), 3);
        }
        QCOMPARE(sorted(saved()), kAllPictures);
        m_server->clearRecords();
        m_events.clear();
        UninstallProfile profile;
        record(&profile);
        QTRY_COMPARE(m_events.size(), 3);
        QTest::qWait(Waits::scaled(Waits::kConfigurationMs) + 200);
        QCOMPARE(sorted(m_events), (QStringList { kRemoteApps, kRemoteCauses, kReady }));
        QCOMPARE(m_server->requestCount("/cause.json"), 1);
        QCOMPARE(pictureRequests(), 0);
    }

    void missingDefaultDocument()
    {
        const QString chose
            = TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/uninstallChose.json");
        QVERIFY(QFile::remove(chose));
        TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());
        UninstallProfile profile;
        record(&profile);
        QTRY_COMPARE(m_events, (QStringList { kDefaultApps, "causes  {} ", kReady }));
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error"))
                     .filter(QStringLiteral(
                         "Failed to open DefaultJsonFile file(/uninstallChose.json): "))
                     .size(),
            1);
        QVERIFY(TestEnv::writeFile(chose, kDefaults[1][1]));
    }

    void destroyedWhileRequestsHang()
    {
        serve(*m_server,
            { { "/rec.json", Response::noAnswer() }, { "/chose.json", Response::noAnswer() } });
        auto profile = std::make_unique<UninstallProfile>();
        QTRY_COMPARE(m_server->requestCount("/chose.json"), 1);
        QTRY_COMPARE(m_server->requestCount("/rec.json"), 1);
        profile.reset(); // joins the worker thread without waiting for the server
    }
};

UNINSTALL_TEST_MAIN(TestContentService)
#include "tst_contentservice.moc"
