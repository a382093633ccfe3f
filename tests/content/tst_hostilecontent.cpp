// What a hostile or broken content service, or hostile files in the wizard's places, can make
// the wizard do: each row runs the uninstaller in a process of its own (test mode, waits
// shrunk) against a loopback service, and must reach the home page within the content waits,
// write nothing outside the wizard's folders and touch no link's target.

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"
#include "wizardprocess.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

constexpr double kScale = 0.5;
// The home page's limit from the wizard's start: the content waits and room for a busy machine.
constexpr int kHomePageLimitMs = 6000;

enum class Hostile {
    PicturesHang,
    DocumentsHang,
    ManyApps,
    PictureIsLink,
    FolderIsLink,
    HugePicture,
    LocalFilePicture,
    UpdaterIsLink,
    UpdaterMoved,
    UpdaterEmpty,
    UpdaterPlainHttp,
    LongVersion,
    ChoiceArray,
    ChoiceString,
    TextsInChoice,
    BrandFifo,
    PriceFifo,
    CachedPictureFifo,
    CachedHugePicture,
    NameClimbs,
    OrganisationClimbs,
};

const QString kProductFolder = QStringLiteral("TernSoft/Tern Converter");

QString home()
{
    return TestEnv::sandboxRoot() + QStringLiteral("/home");
}

QString dataFolder()
{
    return home() + QStringLiteral("/.local/share/") + kProductFolder;
}

QString outside(const QString& name = QString())
{
    return TestEnv::sandboxRoot() + QStringLiteral("/outside/") + name;
}

// The wizard's own folders (data and settings under any organisation and product name), and
// what the host, Qt and the test harness keep beside them.
bool isWizardsOwn(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    const bool data
        = parts.mid(0, 3) == QStringList { "home", ".local", "share" } && parts.size() >= 6;
    const bool settings = parts.mid(0, 2) == QStringList { "home", ".config" } && parts.size() >= 5;
    static const QStringList beside { "home/.local/share/CEIPG/", "home/.config/tern-registry/",
        "home/.local/state/tern-locks/", "home/.cache/", "run/", "tmp/", "scripts/" };
    return data || settings
        || std::any_of(beside.begin(), beside.end(),
            [&](const QString& prefix) { return path.startsWith(prefix); });
}

QStringList strayChanges(const QStringList& changed)
{
    QStringList stray;
    for (const QString& path : changed) {
        if (!isWizardsOwn(path))
            stray.append(path);
    }
    return stray;
}

void patchProduct(
    const QString& installation, const QJsonObject& members, const QJsonObject& extendParams = {})
{
    QVERIFY(TestEnv::mergeIntoProduct(
        installation + QStringLiteral("/product.json"), members, extendParams));
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

Q_DECLARE_METATYPE(Hostile)

class TestHostileContent : public QObject {
    Q_OBJECT

    QString address(const QString& path) const { return m_server->address(path); }

    // A service whose every part answers; rows then spoil one.
    void serveContent(int apps = 2)
    {
        using Response = LoopbackServer::Response;
        m_config = QJsonObject { { "version", "7" }, { "banner_pic", address("/pics/banner_") },
            { "promotion_pic", address("/pics/promotion_") },
            { "recommendApp", address("/rec.json") }, { "uninstallChose", address("/chose.json") },
            { "uninstallCause", address("/cause.json") } };
        QJsonArray list;
        for (int i = 0; i < apps; ++i) {
            const QString icon
                = i == 0 ? QStringLiteral("photo.png") : QStringLiteral("a%1.png").arg(i);
            list.append(QJsonObject { { "icon", icon }, { "name", icon },
                { "url", "https://apps.example/" }, { "pic_url", address("/icons/" + icon) } });
        }
        m_server->setResponse("/rec.json",
            Response::json(
                QJsonDocument(QJsonObject { { "recommendApp", QJsonObject { { "en", list } } } })
                    .toJson()));
        m_server->setResponse(
            "/chose.json", Response::json(R"({"uninstallChose": {"default": ["slow"]}})"));
        m_server->setResponse(
            "/cause.json", Response::json(R"({"uninstallCause": {"default": {"slow": "Slow"}}})"));
        for (const char* picture :
            { "/pics/banner_en.png", "/pics/promotion_en.png", "/icons/photo.png" })
            m_server->setResponse(picture, Response::ok(TestFiles::png()));
        m_server->setResponse("/updater", Response::ok("#!/bin/sh\nexit 0\n"));
    }

    // Spoils the service or the sandbox the way the row says; returns the installation's
    // extended parameters to change.
    QJsonObject prepare(Hostile hostile, const QString& installation)
    {
        using Response = LoopbackServer::Response;
        QJsonObject params { { "uninstallConfigURL", address("/config.json") } };
        switch (hostile) {
        case Hostile::PicturesHang:
            for (const char* path : { "/pics/banner_en.png", "/pics/promotion_en.png",
                     "/icons/photo.png", "/icons/a1.png" })
                m_server->setResponse(path, Response::noAnswer());
            break;
        case Hostile::DocumentsHang:
            for (const char* path : { "/rec.json", "/chose.json", "/cause.json" })
                m_server->setResponse(path, Response::noAnswer());
            break;
        case Hostile::ManyApps:
            // Icons that take a while to be missing: one after another they would take minutes.
            serveContent(5000);
            for (int i = 1; i < 5000; ++i)
                m_server->setResponse(
                    QStringLiteral("/icons/a%1.png").arg(i), Response::error(404).delayed(50));
            break;
        case Hostile::PictureIsLink:
            TestFiles::makeLink(outside("precious.png"), dataFolder() + "/uninstallRes/photo.png");
            break;
        case Hostile::FolderIsLink:
            TestEnv::writeFile(outside("photo.png"), "precious");
            TestFiles::makeLink(outside(), dataFolder() + "/uninstallRes");
            break;
        case Hostile::HugePicture:
            m_server->setResponse(
                "/pics/banner_en.png", Response::ok(TestFiles::pngDeclaring(20000, 20000)));
            break;
        case Hostile::LocalFilePicture:
            TestEnv::writeFile(outside("en.png"), TestFiles::png());
            m_config.insert("banner_pic", QUrl::fromLocalFile(outside()).toString());
            break;
        case Hostile::UpdaterIsLink:
            TestFiles::makeLink(outside("precious.png"), dataFolder() + "/updater/Tern Converter");
            params.insert("updateAppUrl", address("/updater"));
            break;
        case Hostile::UpdaterMoved:
            m_server->setResponse("/updater", Response::redirect(301, "http://updates.example/u"));
            params.insert("updateAppUrl", address("/updater"));
            break;
        case Hostile::UpdaterEmpty:
            m_server->setResponse("/updater", Response::error(204));
            params.insert("updateAppUrl", address("/updater"));
            break;
        case Hostile::UpdaterPlainHttp:
            params.insert("updateAppUrl", "http://updates.example/updater");
            break;
        case Hostile::LongVersion:
            m_config.insert("version", QString(10 << 20, QLatin1Char('9')));
            break;
        case Hostile::ChoiceArray:
            m_server->setResponse("/chose.json", Response::json(R"({"uninstallChose": []})"));
            break;
        case Hostile::ChoiceString:
            m_server->setResponse(
                "/chose.json", Response::json(R"({"uninstallChose": {"en": "slow"}})"));
            break;
        case Hostile::TextsInChoice:
            m_server->setResponse("/chose.json", Response::json(R"({"uninstallCause": []})"));
            break;
        case Hostile::BrandFifo:
            QFile::remove(installation + "/brand_recommend.json");
            TestFiles::makeFifo(installation + "/brand_recommend.json");
            break;
        case Hostile::PriceFifo:
            QFile::remove(installation + "/resources/uninstallConfig/price.json");
            TestFiles::makeFifo(installation + "/resources/uninstallConfig/price.json");
            params.insert("uninstallConfigURL", QString());
            break;
        case Hostile::CachedPictureFifo:
            TestFiles::makeFifo(dataFolder() + "/uninstallRes/banner_pic_en.png");
            params.insert("uninstallConfigURL", QString());
            break;
        case Hostile::CachedHugePicture:
            TestEnv::writeFile(dataFolder() + "/uninstallRes/banner_pic_en.png",
                TestFiles::pngDeclaring(20000, 20000));
            params.insert("uninstallConfigURL", QString());
            break;
        case Hostile::NameClimbs:
            patchProduct(installation, { { "name", "../../../../escape" } });
            break;
        case Hostile::OrganisationClimbs:
            patchProduct(installation, { { "organization", "../../../escape" } });
            break;
        }
        m_server->setResponse(
            "/config.json", LoopbackServer::Response::json(QJsonDocument(m_config).toJson()));
        return params;
    }

    // What the row leaves behind that the general checks do not see.
    void verify(Hostile hostile)
    {
        switch (hostile) {
        case Hostile::HugePicture:
        case Hostile::LocalFilePicture:
            QVERIFY(!QFileInfo::exists(dataFolder() + "/uninstallRes/banner_pic_en.png"));
            break;
        case Hostile::PictureIsLink:
        case Hostile::FolderIsLink:
            QCOMPARE(contentOf(dataFolder() + "/uninstallRes/photo.png"), TestFiles::png());
            break;
        case Hostile::UpdaterIsLink:
            QVERIFY(QFileInfo(dataFolder() + "/updater/Tern Converter").isExecutable());
            break;
        case Hostile::UpdaterPlainHttp:
            QVERIFY(contentOf(dataFolder() + "/uninstall.log")
                        .contains("refused updater address: http://updates.example/updater"));
            Q_FALLTHROUGH();
        case Hostile::UpdaterMoved:
        case Hostile::UpdaterEmpty:
            QCOMPARE(contentOf(dataFolder() + "/updater/Tern Converter"), QByteArray("earlier"));
            break;
        case Hostile::CachedPictureFifo:
        case Hostile::CachedHugePicture:
            // The window took the shipped banner instead.
            QVERIFY(contentOf(dataFolder() + "/uninstall.log")
                        .contains("Uninstall downLoad banner_pic not exists!"));
            break;
        case Hostile::LongVersion:
            QVERIFY(
                QFileInfo(home() + "/.config/" + kProductFolder + "/settings.ini").size() < 4096);
            break;
        default:
            break;
        }
    }

    std::unique_ptr<LoopbackServer> m_server;
    QJsonObject m_config;
    int m_runs = 0;

private slots:
    void initTestCase() { qputenv("UNINSTALL_WAIT_SCALE", QByteArray::number(kScale)); }

    void init()
    {
        QDir(home() + "/.local/share/TernSoft").removeRecursively();
        QDir(home() + "/.config/TernSoft").removeRecursively();
        QDir(outside()).removeRecursively();
        QVERIFY(TestEnv::writeFile(outside("precious.png"), "precious"));
        m_server = std::make_unique<LoopbackServer>();
        QVERIFY(m_server->listen());
        serveContent();
    }

    void cleanup() { m_server.reset(); }

    void reachesTheHomePageAndWritesOnlyItsOwn_data()
    {
        QTest::addColumn<Hostile>("hostile");
        QTest::addColumn<bool>("reasonPage"); // also walk on to the reason page and past it
        QTest::newRow("pictures hang") << Hostile::PicturesHang << false;
        QTest::newRow("documents hang") << Hostile::DocumentsHang << true;
        QTest::newRow("5000 applications, icons missing") << Hostile::ManyApps << false;
        QTest::newRow("picture's place is a link") << Hostile::PictureIsLink << false;
        QTest::newRow("download folder's place is a link") << Hostile::FolderIsLink << false;
        QTest::newRow("banner declares 20000 x 20000") << Hostile::HugePicture << false;
        QTest::newRow("banner is a local file") << Hostile::LocalFilePicture << false;
        QTest::newRow("updater's place is a link") << Hostile::UpdaterIsLink << false;
        QTest::newRow("updater moved to plain http") << Hostile::UpdaterMoved << false;
        QTest::newRow("updater without content") << Hostile::UpdaterEmpty << false;
        QTest::newRow("updater over plain http") << Hostile::UpdaterPlainHttp << false;
        QTest::newRow("10 MB version") << Hostile::LongVersion << false;
        QTest::newRow("cause choice as an array") << Hostile::ChoiceArray << true;
        QTest::newRow("cause choice of a string") << Hostile::ChoiceString << true;
        QTest::newRow("cause texts as the choice") << Hostile::TextsInChoice << true;
        QTest::newRow("brand file is a FIFO") << Hostile::BrandFifo << false;
        QTest::newRow("price file is a FIFO") << Hostile::PriceFifo << false;
        QTest::newRow("cached banner is a FIFO") << Hostile::CachedPictureFifo << false;
        QTest::newRow("cached banner declares 20000 x 20000")
            << Hostile::CachedHugePicture << false;
        QTest::newRow("product name climbs out") << Hostile::NameClimbs << false;
        QTest::newRow("organisation climbs out") << Hostile::OrganisationClimbs << false;
    }

    void reachesTheHomePageAndWritesOnlyItsOwn()
    {
        QFETCH(Hostile, hostile);
        QFETCH(bool, reasonPage);
        const QString installation
            = WizardProcess::makeInstallation(QStringLiteral("hostile%1").arg(++m_runs));
        const bool updater
            = hostile >= Hostile::UpdaterIsLink && hostile <= Hostile::UpdaterPlainHttp;
        if (updater && hostile != Hostile::UpdaterIsLink)
            QVERIFY(TestEnv::writeFile(dataFolder() + "/updater/Tern Converter", "earlier"));
        patchProduct(installation, {}, prepare(hostile, installation));

        QStringList steps { QStringLiteral("wait purchasePage visible %1").arg(kHomePageLimitMs) };
        // The updater arrives on its own; give it the moment a loopback answer takes.
        if (updater)
            steps << QStringLiteral("sleep 500");
        if (reasonPage)
            steps << "click btnContinue_1"
                  << "wait slow enabled 3000"
                  << "click slow"
                  << "wait btnContinue_2 enabled 1000"
                  << "click btnCancel_2";
        else
            steps << "click btnCancel_1";
        const auto before = TestFiles::fingerprints(TestEnv::sandboxRoot());

        const WizardProcess::Run run = WizardProcess::run(installation,
            WizardProcess::writeScript(QStringLiteral("hostile%1.txt").arg(m_runs), steps), {},
            60000);
        QVERIFY(run.returned(0));
        const QStringList stray = strayChanges(
            TestFiles::changed(before, TestFiles::fingerprints(TestEnv::sandboxRoot())));
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(QStringLiteral(", "))));
        verify(hostile);
    }
};

UNINSTALL_TEST_MAIN(TestHostileContent)
#include "tst_hostilecontent.moc"
