// A content service that hangs, fails or turns hostile, or hostile files in the wizard's places:
// what the window shows, what becomes of the updater an earlier run left, and whole runs in a
// process of their own, which must reach the home page within the content waits, write nothing
// outside the wizard's folders and touch no link's target.

#include "content/updaterdownload.h"
#include "content/updaterlocation.h"
#include "content/urlhandler.h"
#include "entry/uninstallcontext.h"
#include "entry/waits.h"
#include "wizard/uninstall.h"

#include "servedcontent.h"
#include "wizardprocess.h"
#include "wizardrunner.h"

#include "framework.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QLabel>
#include <QStackedWidget>
#include <QtTest>

namespace {

using namespace ServedContent;
using namespace WizardRunner;

const QString kProduct = QStringLiteral("TernSoft/Tern Converter");
const QByteArray kUpdater = "#!/bin/sh\nexit 0\n";
const QByteArray kDownload(64 * 1024, 'u');
// Sorted, as cardNames() gives them.
const QStringList kDefaultApps { QStringLiteral("Tern Backup"), QStringLiteral("Tern PDF Editor"),
    QStringLiteral("Tern Photo Editor"), QStringLiteral("Tern Video Editor") };

QString outside(const QString& name = QString())
{
    return TestEnv::sandboxRoot() + QStringLiteral("/outside/") + name;
}

// The wizard's own folders (data and settings under any organisation and product name), and
// what the host, Qt and the test harness keep beside them.
bool isWizardsOwn(const QString& path)
{
    static const QRegularExpression own(QStringLiteral(
        R"(^(home/\.local/share/([^/]+/){2}|home/\.config/([^/]+/){2}|home/\.local/share/CEIPG/|)"
        R"(home/\.config/tern-registry/|home/\.local/state/tern-locks/|home/\.cache/|run/|tmp/|scripts/))"));
    return own.match(path).hasMatch();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList cardNames(Uninstall* wizard)
{
    QStringList names;
    for (const QLabel* label : wizard->findChildren<QLabel*>(QStringLiteral("recName")))
        names.append(label->text());
    names.sort();
    return names;
}

// Each run spoils several things that do not meet; the unit tables take each alone.
struct Run {
    Answers answers;
    QJsonObject config; // of the service
    QJsonObject params; // of the installation
    QJsonObject product;
    QStringList setup; // "<link|dirlink|fifo|picture> <place>"
    QStringList checks; // "<icon|updater|absent> <place>"
    bool reasonPage = false; // also walks on to the reason page and past it
};

} // namespace

Q_DECLARE_METATYPE(Run)

class TestHostileContent : public QObject {
    Q_OBJECT

    // "data/", "config/", "install/" and "outside/" stand for those folders.
    QString place(const QString& path) const
    {
        const QString folder = path.section('/', 0, 0);
        const QString base = folder == "data" ? QDir::homePath() + "/.local/share/" + kProduct
            : folder == "config"              ? QDir::homePath() + "/.config/" + kProduct
            : folder == "install"             ? m_installation
                                              : TestEnv::sandboxRoot() + "/outside";
        return base + '/' + path.section('/', 1);
    }

    UninstallContext m_context;
    std::unique_ptr<LoopbackServer> m_server;
    QString m_installation;
    int m_runs = 0;

private slots:
    void initTestCase()
    {
        setUpHost(&m_context);
        Waits::setScale(0.2);
        m_server = std::make_unique<LoopbackServer>();
        QVERIFY(m_server->listen());
    }

    void init()
    {
        QDir(QDir::homePath() + "/.local/share/TernSoft").removeRecursively();
        QDir(QDir::homePath() + "/.config/TernSoft").removeRecursively();
        QDir(outside()).removeRecursively();
        QVERIFY(TestEnv::writeFile(outside("precious.png"), "precious"));
        TestEnv::useWizardLog(); // a fresh log where the removed folder held the open one
        TestEnv::setExtendParam(QStringLiteral("updateAppUrl"), QString());
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
    }

    // The home page comes within the content waits whatever hangs, and shows what arrived.
    void window_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QString>("banner"); // "downloaded", or the shipped banner's language

        const QStringList remote { "A", "B" };
        QTest::newRow("everything answers") << "en" << Answers() << remote << "downloaded";
        QTest::newRow("pictures hang") << "en"
                                       << hanging({ "/pics/banner_en.png", "/pics/promotion_en.png",
                                              "/icons/a.png", "/icons/b.png" })
                                       << remote << "en";
        QTest::newRow("documents hang")
            << "en" << hanging({ "/rec.json", "/chose.json", "/cause.json" }) << kDefaultApps
            << "en";
        QTest::newRow("language without content, no service")
            << "it" << Answers { { "/config.json", Response::error(404) } } << kDefaultApps << "en";
        QTest::newRow("no applications for the language")
            << "en" << Answers { { "/rec.json", apps({ "a.png" }, "de") } } << QStringList()
            << "downloaded";
        // The defaults show at once; the applications that come after still replace them.
        QTest::newRow("applications after a failed document")
            << "en"
            << Answers { { "/chose.json", Response::error(404) },
                   { "/rec.json", remoteApps().delayed(300) } }
            << remote << "downloaded";
    }

    void window()
    {
        QFETCH(QString, language);
        QFETCH(Answers, answers);
        QFETCH(QStringList, cards);
        QFETCH(QString, banner);
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernSettings::instance()->setLanguage(language);
        serve(*m_server, answers);

        auto wizard = showWizard(true);
        auto* pages = child<QStackedWidget>(wizard.get(), "processPage");
        QTRY_COMPARE_WITH_TIMEOUT(
            pages->currentIndex(), 1, 2 * Waits::scaled(Waits::kConfigurationMs) + 2000);
        QTRY_COMPARE(cardNames(wizard.get()), cards);
        // No heading above an empty pager.
        QCOMPARE(child(wizard.get(), "frameRecTitle")->isHidden(), cards.isEmpty());
        const QString path = banner == QLatin1String("downloaded")
            ? UrlHandler::downloadDirectory() + "banner_pic_" + language + ".png"
            : TestEnv::resourceRoot() + "/uninstallConfig/banner_pic/" + banner + ".png";
        QCOMPARE(child(wizard.get(), "discountBg")->styleSheet(),
            QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(path));
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(
            TestEnv::logMessages(QStringLiteral("debug")).count(QStringLiteral("loading end!")), 1);
        wizard.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Only a complete download over a trusted transport may replace the updater an earlier run
    // left. Links in its place are among the whole runs below.
    void updater_data()
    {
        QTest::addColumn<QString>("address"); // a path on the service, or a whole address
        QTest::addColumn<Response>("answer");
        QTest::addColumn<QString>("error"); // how the first error line begins; empty: saved

        const QString network = QStringLiteral("NetworkError error:");
        QTest::newRow("moved within the service") << "/moved" << Response::ok(kDownload) << "";
        QTest::newRow("connection cut")
            << "/updater" << Response::truncated(kDownload, 20000) << network;
        // Ends in good order, short of the length it announced.
        QTest::newRow("shorter than announced")
            << "/updater" << Response::truncated(kDownload, 20000, true)
            << "updater download incomplete: ";
        QTest::newRow("server error") << "/updater" << Response::error(500, "oops") << network;
        QTest::newRow("no content") << "/updater" << Response::error(204) << network + "empty body";
        QTest::newRow("moved to plain http")
            << "/updater" << Response::redirect(301, "http://updates.example/u")
            << "refused redirect to http://updates.example/u";
        QTest::newRow("plain http address")
            << "http://updates.example/updater" << Response() << "refused updater address: ";
    }

    void updater()
    {
        QFETCH(QString, address);
        QFETCH(Response, answer);
        QFETCH(QString, error);
        QVERIFY(TestEnv::writeFile(updaterPath(), "earlier updater"));
        m_server->setResponse(QStringLiteral("/updater"), answer);
        m_server->setResponse(QStringLiteral("/moved"), Response::redirect(302, "/updater"));

        UpdaterDownload download(updaterPath());
        QSignalSpy finished(&download, &UpdaterDownload::finished);
        download.start(Framework::networkAccessManager(),
            address.startsWith('/') ? m_server->url(address) : QUrl(address));
        QVERIFY(finished.wait());
        QCOMPARE(finished.first().first().toBool(), error.isEmpty());
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.value(0).startsWith(error),
            qPrintable(errors.join('|')));
        // Nothing beside it either: no part of a download is left.
        QCOMPARE(TestFiles::fingerprints(QFileInfo(updaterPath()).absolutePath()).size(), 1);
        QCOMPARE(contentOf(updaterPath()), error.isEmpty() ? kDownload : "earlier updater");
        QCOMPARE(QFileInfo(updaterPath()).isExecutable(), error.isEmpty());
    }

    void reachesTheHomePageAndWritesOnlyItsOwn_data()
    {
        QTest::addColumn<Run>("run");
        QStringList many { "a.png" };
        Answers answers { { "/pics/banner_en.png",
            Response::ok(TestFiles::pngDeclaring(20000, 20000)) } };
        for (int i = 1; i < 5000; ++i)
            many.append(QStringLiteral("m%1.png").arg(i));
        for (int i = 1; i < 30; ++i)
            answers.insert("/icons/" + many[i], Response::error(404).delayed(50));
        answers.insert("/rec.json", apps(many));

        QTest::newRow("5000 applications, icons missing, a link in an icon's place, banner "
                      "declares 20000 x 20000, 10 MB version")
            << Run { answers, { { "version", QString(10 << 20, QLatin1Char('9')) } }, {}, {},
                   { "link data/uninstallRes/a.png" },
                   { "icon data/uninstallRes/a.png",
                       "absent data/uninstallRes/banner_pic_en.png" } };
        QTest::newRow("links in the download folder's and the updater's places")
            << Run { {}, {}, { { "updateAppUrl", m_server->address("/updater") } }, {},
                   { "dirlink data/uninstallRes", "link data/updater/Tern Converter" },
                   { "icon data/uninstallRes/a.png", "updater data/updater/Tern Converter" } };
        // An updater over plain http is among the updater's rows.
        QTest::newRow("banner a local file, cause choice an array")
            << Run { { { "/chose.json", Response::json(R"({"uninstallChose": []})") } },
                   { { "banner_pic", QUrl::fromLocalFile(outside()).toString() } }, {}, {},
                   { "picture outside/en.png" }, { "absent data/uninstallRes/banner_pic_en.png" },
                   true };
        // Cached pictures that are FIFOs or oversized are among the offer pages' rows.
        QTest::newRow("product name and organisation climb out, brand and price files are FIFOs")
            << Run { {}, {}, {},
                   { { "name", "../../../../escape" }, { "organization", "../../../escape" } },
                   { "fifo install/brand_recommend.json",
                       "fifo install/resources/uninstallConfig/price.json" },
                   {} };
    }

    void reachesTheHomePageAndWritesOnlyItsOwn()
    {
        QFETCH(Run, run);
        m_installation = WizardProcess::makeInstallation(QStringLiteral("hostile%1").arg(++m_runs));
        run.answers.insert("/updater", Response::ok(kUpdater));
        serve(*m_server, run.answers, run.config);
        for (const QString& step : qAsConst(run.setup)) {
            const QString what = step.section(' ', 0, 0);
            const QString path = place(step.section(' ', 1));
            if (what == QLatin1String("fifo"))
                QVERIFY((!QFile::exists(path) || QFile::remove(path)) && TestFiles::makeFifo(path));
            else if (what.endsWith(QLatin1String("link")))
                QVERIFY(TestFiles::makeLink(outside(what == "link" ? "precious.png" : ""), path));
            else
                QVERIFY(TestEnv::writeFile(path, TestFiles::png()));
        }
        run.params.insert("uninstallConfigURL", m_server->address("/config.json"));
        QVERIFY(
            TestEnv::mergeIntoProduct(m_installation + "/product.json", run.product, run.params));

        QStringList steps { QStringLiteral("wait purchasePage visible 6000") };
        // The updater arrives on its own; give it the moment a loopback answer takes.
        if (run.params.contains(QLatin1String("updateAppUrl")))
            steps << QStringLiteral("sleep 300");
        if (run.reasonPage)
            steps << "click btnContinue_1"
                  << "wait slow enabled 3000"
                  << "click slow"
                  << "wait btnContinue_2 enabled 1000"
                  << "click btnCancel_2";
        else
            steps << "click btnCancel_1";
        const auto before = TestFiles::fingerprints(TestEnv::sandboxRoot());
        const WizardProcess::Run ended = WizardProcess::run(m_installation,
            WizardProcess::writeScript(QStringLiteral("hostile%1.txt").arg(m_runs), steps), {},
            60000, { QStringLiteral("UNINSTALL_WAIT_SCALE=0.2") });
        QVERIFY(ended.returned(0));
        QStringList stray
            = TestFiles::changed(before, TestFiles::fingerprints(TestEnv::sandboxRoot()));
        stray.erase(std::remove_if(stray.begin(), stray.end(), isWizardsOwn), stray.end());
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(QStringLiteral(", "))));

        // However long the version, the settings keep a short one.
        QVERIFY(QFileInfo(place("config/settings.ini")).size() < 4096);
        for (const QString& check : qAsConst(run.checks)) {
            const QString what = check.section(' ', 0, 0);
            QCOMPARE(contentOf(place(check.section(' ', 1))),
                what == "icon"          ? pictureOf("/icons/a.png")
                    : what == "updater" ? kUpdater
                                        : QByteArray("<missing>"));
        }
    }
};

UNINSTALL_TEST_MAIN(TestHostileContent)
#include "tst_hostilecontent.moc"
