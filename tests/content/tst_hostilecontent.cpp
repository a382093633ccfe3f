// A hostile content service, or hostile files in the wizard's places: each row runs the
// uninstaller in a process of its own, which must reach the home page within the content waits,
// write nothing outside the wizard's folders and touch no link's target.

#include "servedcontent.h"
#include "wizardprocess.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

namespace {

using namespace ServedContent;

const QString kProduct = QStringLiteral("TernSoft/Tern Converter");
const QByteArray kUpdater = "#!/bin/sh\nexit 0\n";

QString home()
{
    return TestEnv::sandboxRoot() + QStringLiteral("/home");
}

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

} // namespace

class TestHostileContent : public QObject {
    Q_OBJECT

    // "data/", "config/", "install/" and "outside/" stand for those folders.
    QString place(const QString& path) const
    {
        const QString folder = path.section('/', 0, 0);
        const QString base = folder == "data" ? home() + "/.local/share/" + kProduct
            : folder == "config"              ? home() + "/.config/" + kProduct
            : folder == "install"             ? m_installation
                                              : TestEnv::sandboxRoot() + "/outside";
        return base + '/' + path.section('/', 1);
    }

    std::unique_ptr<LoopbackServer> m_server;
    QString m_installation;
    int m_runs = 0;

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<LoopbackServer>();
        QVERIFY(m_server->listen());
    }

    void init()
    {
        QDir(home() + "/.local/share/TernSoft").removeRecursively();
        QDir(home() + "/.config/TernSoft").removeRecursively();
        QDir(outside()).removeRecursively();
        QVERIFY(TestEnv::writeFile(outside("precious.png"), "precious"));
    }

    void reachesTheHomePageAndWritesOnlyItsOwn_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QJsonObject>("config"); // of the service
        QTest::addColumn<QJsonObject>("params"); // of the installation
        QTest::addColumn<QJsonObject>("product");
        // "<what> <place>": link, dirlink, fifo, earlier (updater) or picture (file).
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("checks"); // "<icon|updater|earlier|absent> <place>"
        QTest::addColumn<bool>("reasonPage"); // also walks on to the reason page and past it

        // Each run spoils several things that do not meet; the unit tables take each alone.
        const QJsonObject noService { { "uninstallConfigURL", "" } };
        const QString earlier = QStringLiteral("earlier data/updater/Tern Converter");
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
            << answers << QJsonObject { { "version", QString(10 << 20, QLatin1Char('9')) } }
            << QJsonObject() << QJsonObject() << QStringList { "link data/uninstallRes/a.png" }
            << QStringList { "icon data/uninstallRes/a.png",
                   "absent data/uninstallRes/banner_pic_en.png" }
            << false;
        QTest::newRow("links in the download folder's and the updater's places")
            << Answers() << QJsonObject()
            << QJsonObject { { "updateAppUrl", m_server->address("/updater") } } << QJsonObject()
            << QStringList { "dirlink data/uninstallRes", "link data/updater/Tern Converter" }
            << QStringList { "icon data/uninstallRes/a.png", "updater data/updater/Tern Converter" }
            << false;
        QTest::newRow("banner a local file, updater over plain http, cause choice an array")
            << Answers { { "/chose.json", Response::json(R"({"uninstallChose": []})") } }
            << QJsonObject { { "banner_pic", QUrl::fromLocalFile(outside()).toString() } }
            << QJsonObject { { "updateAppUrl", "http://updates.example/updater" } } << QJsonObject()
            << QStringList { "picture outside/en.png", earlier }
            << QStringList { "absent data/uninstallRes/banner_pic_en.png", earlier } << true;
        // The cached pictures in FIFOs' or oversized are among the offer pages' rows.
        QTest::newRow("brand and price files are FIFOs")
            << Answers() << QJsonObject() << noService << QJsonObject()
            << QStringList { "fifo install/brand_recommend.json",
                   "fifo install/resources/uninstallConfig/price.json" }
            << QStringList() << false;
        QTest::newRow("product name and organisation climb out")
            << Answers() << QJsonObject() << QJsonObject()
            << QJsonObject { { "name", "../../../../escape" },
                   { "organization", "../../../escape" } }
            << QStringList() << QStringList() << false;
    }

    void reachesTheHomePageAndWritesOnlyItsOwn()
    {
        QFETCH(Answers, answers);
        QFETCH(QJsonObject, config);
        QFETCH(QJsonObject, params);
        QFETCH(QJsonObject, product);
        QFETCH(QStringList, setup);
        QFETCH(QStringList, checks);
        QFETCH(bool, reasonPage);
        m_installation = WizardProcess::makeInstallation(QStringLiteral("hostile%1").arg(++m_runs));
        answers.insert("/updater", Response::ok(kUpdater));
        serve(*m_server, answers, config);
        for (const QString& step : qAsConst(setup)) {
            const QString what = step.section(' ', 0, 0);
            const QString path = place(step.section(' ', 1));
            if (what == QLatin1String("fifo"))
                QVERIFY((!QFile::exists(path) || QFile::remove(path)) && TestFiles::makeFifo(path));
            else if (what.endsWith(QLatin1String("link")))
                QVERIFY(TestFiles::makeLink(outside(what == "link" ? "precious.png" : ""), path));
            else
                QVERIFY(TestEnv::writeFile(
                    path, what == "earlier" ? QByteArray("earlier") : TestFiles::png()));
        }
        params.insert("uninstallConfigURL",
            params.value("uninstallConfigURL").toString(m_server->address("/config.json")));
        QVERIFY(TestEnv::mergeIntoProduct(m_installation + "/product.json", product, params));

        QStringList steps { QStringLiteral("wait purchasePage visible 6000") };
        // The updater arrives on its own; give it the moment a loopback answer takes.
        if (params.contains(QLatin1String("updateAppUrl")))
            steps << QStringLiteral("sleep 300");
        if (reasonPage)
            steps << "click btnContinue_1"
                  << "wait slow enabled 3000"
                  << "click slow"
                  << "wait btnContinue_2 enabled 1000"
                  << "click btnCancel_2";
        else
            steps << "click btnCancel_1";
        const auto before = TestFiles::fingerprints(TestEnv::sandboxRoot());
        const WizardProcess::Run run = WizardProcess::run(m_installation,
            WizardProcess::writeScript(QStringLiteral("hostile%1.txt").arg(m_runs), steps), {},
            60000, { QStringLiteral("UNINSTALL_WAIT_SCALE=0.2") });
        QVERIFY(run.returned(0));
        QStringList stray
            = TestFiles::changed(before, TestFiles::fingerprints(TestEnv::sandboxRoot()));
        stray.erase(std::remove_if(stray.begin(), stray.end(), isWizardsOwn), stray.end());
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(QStringLiteral(", "))));

        // However long the version, the settings keep a short one.
        QVERIFY(QFileInfo(place("config/settings.ini")).size() < 4096);
        for (const QString& check : qAsConst(checks)) {
            const QString what = check.section(' ', 0, 0);
            QCOMPARE(contentOf(place(check.section(' ', 1))),
                what == "icon"          ? pictureOf("/icons/a.png")
                    : what == "updater" ? kUpdater
                    : what == "earlier" ? QByteArray("earlier")
                                        : QByteArray("<missing>"));
        }
    }
};

UNINSTALL_TEST_MAIN(TestHostileContent)
#include "tst_hostilecontent.moc"
