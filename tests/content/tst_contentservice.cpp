// What the content source delivers to the window, however the service answers: each row names
// the deliveries (sorted: the documents race each other), the error lines and the pictures saved.

#include "content/uninstallprofile.h"
#include "content/urlhandler.h"
#include "entry/waits.h"

#include "servedcontent.h"

#include "ternsettings.h"

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
                line.append(app.icon + '|' + app.name + '|' + app.url);
            m_events.append("apps " + line.join(", "));
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
            files.append(name
                + (content == pictureOf(sourceOf(name)) ? ""
                        : content == TestFiles::png(4)  ? " (earlier)"
                                                        : " (foreign)"));
        }
        return files;
    }

    int pictureRequests() const
    {
        return m_server->requestedPaths().filter(QRegularExpression("^/(pics|icons)/")).size();
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
        const auto add = [](const char* name, const Answers& answers, const QStringList& events,
                             const QString& errors, const QStringList& saved, int fetched,
                             const QString& language = "en", int settleMs = 0) {
            QTest::newRow(name) << answers << language << events << errors << saved << fetched
                                << settleMs;
        };
        const QStringList remote { kRemoteApps, kRemoteCauses, kReady };
        const QString network = QStringLiteral("NetworkError error:");
        const QString unusable = QStringLiteral("document without usable content");
        const QString timedOut = QStringLiteral("request timed out after %1 ms: ")
                                     .arg(Waits::scaled(Waits::kConfigurationMs));
        const int late = Waits::scaled(Waits::kConfigurationMs) + 300;
        const QStringList earlier { kEarlierBanner };
        const auto served = [](const char* path, const QByteArray& json, int delayMs = 0) {
            return Answers { { path, Response::json(json).delayed(delayMs) } };
        };
        // The configuration fails: the defaults, once. Using a late one would ask for the
        // documents.
        const auto configFails
            = [&](const char* name, const Response& config, const QString& errors) {
                  add(name, { { "/config.json", config } },
                      { kDefaultApps, kDefaultCauses, kReady }, errors, earlier, 0, "en", late);
              };
        // A document fails: the defaults fill in, the applications the service delivered
        // before stay. Failing documents come late, so that those are in first.
        const auto documentFails
            = [&](const char* name, const Answers& answers, const QString& errors) {
                  add(name, answers, { kRemoteApps, kDefaultCauses, kReady, kReady }, errors,
                      kAllPictures, 4);
              };

        add("service answers", {}, remote, "", kAllPictures, 4);
        add("service down", { { "down", {} } }, { kDefaultApps, kDefaultCauses, kReady },
            network + "Connection refused", earlier, 0);
        configFails("configuration error status", Response::error(503), network);
        configFails("configuration not JSON", Response::json("[" + QByteArray(299, ' ') + "x"),
            "JSON parsing error:illegal number");
        configFails("configuration an array", Response::json(R"([{"version": "1"}])"),
            "service configuration is not a JSON object");
        configFails("configuration too late",
            Response::json(R"({"recommendApp": "/rec.json"})").delayed(late), "");
        documentFails("cause choice hangs", hanging({ "/chose.json" }), timedOut);
        documentFails("cause choice fails after the applications",
            { { "/chose.json", Response::error(404).delayed(300) } }, network);
        documentFails("cause choice of a string",
            served("/chose.json", R"({"uninstallChose": {"en": "a"}})", 300), unusable);
        documentFails("cause texts in the choice's place",
            served("/chose.json", R"({"uninstallCause": []})", 300), unusable);
        documentFails("no cause texts",
            served("/cause.json", R"({"uninstallCause": {"default": {}}})", 300), unusable);
        documentFails("cause choice over 1 MB",
            served("/chose.json", QByteArray(2 << 20, ' ') + "{}", 300),
            "download over 1048576 bytes refused: ");
        documentFails("no entry for the language",
            served("/chose.json", R"({"uninstallChose": {"de": ["x"]}})", 300), unusable);
        const auto chose = [&](const QByteArray& json) { return served("/chose.json", json); };
        // The pictures' deadline may end an idle queue once more.
        add("applications hang", hanging({ "/rec.json" }),
            { kDefaultApps, kRemoteCauses, kDefaultCauses, kReady, "ready?" }, timedOut, earlier,
            0);
        add("cause choice fails, applications come after",
            { { "/chose.json", Response::error(404) }, { "/rec.json", remoteApps().delayed(300) } },
            { kRemoteApps, kDefaultApps, kDefaultCauses, kReady, kReady }, network, kAllPictures,
            4);
        add("applications of no known shape", served("/rec.json", R"({"apps": []})"),
            { kDefaultApps, kRemoteCauses, kDefaultCauses, kReady, kReady }, unusable, kOffers, 2);
        add("applications win over a choice",
            served("/rec.json",
                R"({"uninstallChose": {"en": ["k"]}, "recommendApp": {"en": [{"icon": "z"}]}})"),
            { "apps z||", kRemoteCauses, kReady }, "refused picture address: ", kOffers, 2);
        add("choice wins over texts",
            chose(
                R"({"uninstallCause": {"default": {"q": "Q"}}, "uninstallChose": {"default": ["k"]}})"),
            { kRemoteApps, "causes k {b=Bee,slow=Slow} ", kReady }, "", kAllPictures, 4);
        add("a section that is no object is skipped",
            served("/cause.json",
                R"({"uninstallChose": [], "uninstallCause": {"default": {"q": "Q"}}})"),
            { kRemoteApps, "causes a,b {q=Q} 3 users checked", kReady }, "", kAllPictures, 4);
        const QStringList otherLanguage { kRemoteApps,
            "causes slow {b=Bee,slow=Slow} 3 users checked", kReady };
        add("another language takes the default entry", {}, otherLanguage, network,
            { "a.png", "b.png", kEarlierBanner }, 4, "fr");
        // The picture addresses take the language in lower case, the file names as it is.
        add("language codes are exact", {}, otherLanguage, "",
            { "a.png", "b.png", kEarlierBanner, "banner_pic_EN.png", "promotion_pic_EN.png" }, 4,
            "EN");
        Answers italian = chose(R"({"uninstallChose": {"en": ["e"]}})");
        italian.insert("/rec.json", apps({ "e.png" }, "en"));
        add("the product's language without a default", italian,
            { "apps e.png||", "causes e {b=Bee,slow=Slow} ", kReady }, network, earlier, 3, "it");
        add("non-string keys read empty, check and users only a top-level boolean and string",
            chose(R"({"uninstallChose": {"default": ["a", 3, null], "uninstallCuaseCheck": true,
                "users": "9"}, "uninstallCuaseCheck": "true", "users": 5})"),
            { kRemoteApps, "causes a,, {b=Bee,slow=Slow} ", kReady }, "", kAllPictures, 4);
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many.append(QString::number(i));
        add("at most 24 applications", { { "/rec.json", apps(many) } },
            { listOf(many.mid(0, 24)), kRemoteCauses, kReady }, network, kOffers, 26);
        add("the default entry before the product's language",
            served("/rec.json",
                R"({"recommendApp": {"default": [{"icon": "d.png"}], "en": [{"icon": "e.png"}]}})"),
            { "apps d.png||", otherLanguage[1], kReady }, "refused picture address: ", earlier, 2,
            "it");

        // Pictures: only a whole picture replaces the one of an earlier run, and the queue goes on.
        // How a download fails (redirects, cuts, empty answers) is among the updater's rows.
        const QStringList kept { "a.png", "b.png", kEarlierBanner, "promotion_pic_en.png" };
        add("picture server error",
            { { "/pics/banner_en.png", Response::error(500, TestFiles::png()) } }, remote, network,
            kept, 4);
        add("not a picture", { { "/pics/banner_en.png", Response::ok("<html>sorry</html>") } },
            remote, "refused picture banner_pic_en.png", kept, 4);
        // Four at a time: the last two never start.
        const QStringList six { "a.png", "b.png", "c.png", "d.png" };
        Answers slow = hanging({ "/pics/banner_en.png", "/pics/promotion_en.png", "/icons/a.png",
            "/icons/b.png", "/icons/c.png", "/icons/d.png" });
        slow.insert("/rec.json", apps(six));
        add("pictures share one deadline", slow, { listOf(six), kRemoteCauses, kReady },
            "pictures not in by the deadline: 6", earlier, 4);
        // A picture's name from the document may not lead out of the download directory.
        for (const QString& icon : { QStringLiteral("../../evil.sh"), QStringLiteral("sub/evil.sh"),
                 QStringLiteral("..\\evil.sh"), QStringLiteral("C:evil.sh"),
                 QStringLiteral("/tmp/evil.sh"), QString() })
            add(qPrintable("icon named \"" + icon + '"'),
                { { "/rec.json", apps({ icon, "ok.png" }) } },
                { listOf({ icon, "ok.png" }), kRemoteCauses, kReady },
                "refused download file name: " + icon,
                { "banner_pic_en.png", "ok.png", "promotion_pic_en.png" }, 3);
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
        QTRY_VERIFY2_WITH_TIMEOUT(m_events.size() >= events.size(),
            qPrintable(m_events.join(" | ")), 2 * Waits::scaled(Waits::kConfigurationMs) + 1500);
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
        for (int fetched : { 4, 0 }) {
            m_server->clearRecords();
            m_events.clear();
            UninstallProfile profile;
            record(&profile);
            QTRY_COMPARE(m_events.size(), 3);
            QTest::qWait(Waits::scaled(Waits::kConfigurationMs) + 200);
            QCOMPARE(sorted(m_events), (QStringList { kRemoteApps, kRemoteCauses, kReady }));
            QCOMPARE(m_server->requestCount("/cause.json"), 1);
            QCOMPARE(pictureRequests(), fetched);
        }
        QCOMPARE(sorted(saved()), kAllPictures);
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
        QCOMPARE(
            TestEnv::logMessages(QStringLiteral("error")).filter("(/uninstallChose.json): ").size(),
            1);
        QVERIFY(TestEnv::writeFile(chose, kDefaults[1][1]));
    }

    void destroyedWhileRequestsHang()
    {
        serve(*m_server, hanging({ "/rec.json", "/chose.json" }));
        auto profile = std::make_unique<UninstallProfile>();
        QTRY_COMPARE(m_server->requestCount("/chose.json"), 1);
        QTRY_COMPARE(m_server->requestCount("/rec.json"), 1);
        profile.reset(); // joins the worker thread without waiting for the server
    }
};

UNINSTALL_TEST_MAIN(TestContentService)
#include "tst_contentservice.moc"
