// What the wizard window shows of its content when the service hangs, fails part-way or has
// nothing for the language, against a loopback service with the content waits shrunk.

#include "content/urlhandler.h"
#include "entry/uninstallcontext.h"
#include "entry/waits.h"
#include "wizard/uninstall.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"
#include "wizardrunner.h"

#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QStackedWidget>
#include <QtTest>

using namespace WizardRunner;

namespace {

const QStringList kRemoteApps { QStringLiteral("Remote A"), QStringLiteral("Remote B") };
// Sorted, as cardNames() gives them.
const QStringList kDefaultApps { QStringLiteral("Tern Backup"), QStringLiteral("Tern PDF Editor"),
    QStringLiteral("Tern Photo Editor"), QStringLiteral("Tern Video Editor") };

QStringList cardNames(Uninstall* wizard)
{
    QStringList names;
    const QList<QLabel*> labels = wizard->findChildren<QLabel*>(QStringLiteral("recName"));
    for (const QLabel* label : labels)
        names.append(label->text());
    names.sort();
    return names;
}

QString bannerSheet(const QString& path)
{
    return QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(path);
}

QString shippedBanner(const QString& language)
{
    return TestEnv::resourceRoot()
        + QStringLiteral("/uninstallConfig/banner_pic/%1.png").arg(language);
}

} // namespace

class TestContentWindow : public QObject {
    Q_OBJECT

    // The service's configuration, documents and pictures; "pictures" or "documents" never
    // answer when `hanging` says so.
    void serve(const QString& hanging, const QString& appsLanguage = QStringLiteral("en"),
        int appsDelayMs = 0)
    {
        using Response = LoopbackServer::Response;
        const auto address = [this](const char* path) { return m_server->address(path); };
        const QJsonObject config { { "version", "9" }, { "banner_pic", address("/pics/banner_") },
            { "promotion_pic", address("/pics/promotion_") },
            { "recommendApp", address("/rec.json") }, { "uninstallChose", address("/chose.json") },
            { "uninstallCause", address("/cause.json") } };
        m_server->setResponse(
            QStringLiteral("/config.json"), Response::json(QJsonDocument(config).toJson()));

        QJsonArray apps;
        for (const QString& name : kRemoteApps) {
            const QString icon = name.toLower().remove(' ') + QStringLiteral(".png");
            apps.append(QJsonObject { { "icon", icon }, { "name", name },
                { "url", "https://apps.example/" },
                { "pic_url", m_server->address("/icons/" + icon) } });
        }
        const QJsonObject rec { { "recommendApp", QJsonObject { { appsLanguage, apps } } } };
        QMap<QString, Response> answers {
            { "/rec.json", Response::json(QJsonDocument(rec).toJson()).delayed(appsDelayMs) },
            { "/chose.json", Response::json(R"({"uninstallChose": {"default": ["slow"]}})") },
            { "/cause.json",
                Response::json(R"({"uninstallCause": {"default": {"slow": "Slow"}}})") },
            { "/pics/banner_en.png", Response::ok(TestFiles::png()) },
            { "/pics/promotion_en.png", Response::ok(TestFiles::png()) },
            { "/icons/remotea.png", Response::ok(TestFiles::png()) },
            { "/icons/remoteb.png", Response::ok(TestFiles::png()) },
        };
        for (auto it = answers.begin(); it != answers.end(); ++it) {
            const bool hangs = it.key().endsWith(hanging == QLatin1String("pictures") ? ".png"
                    : hanging == QLatin1String("documents")                           ? ".json"
                                                                                      : "-");
            m_server->setResponse(it.key(), hangs ? Response::noAnswer() : it.value());
        }
        TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), address("/config.json"));
    }

    void setLanguage(const QString& language)
    {
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernSettings::instance()->setLanguage(language);
    }

    // Shows the wizard and waits for its home page, no longer than the content waits allow.
    Uninstall* showHome()
    {
        m_wizard = showWizard(true);
        auto* pages = child<QStackedWidget>(m_wizard.get(), "processPage");
        const int deadline = Waits::scaled(Waits::kConfigurationMs);
        if (!QTest::qWaitFor([&] { return pages->currentIndex() == 1; }, 2 * deadline + 2000))
            return nullptr;
        return m_wizard.get();
    }

    UninstallContext m_context;
    std::unique_ptr<LoopbackServer> m_server;
    std::unique_ptr<Uninstall> m_wizard;

private slots:
    void initTestCase()
    {
        setUpHost(&m_context);
        Waits::setScale(0.4);
        TestEnv::setExtendParam(QStringLiteral("updateAppUrl"), QString());
    }

    void init()
    {
        TestEnv::clearLog();
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        QDir(UrlHandler::downloadDirectory()).removeRecursively();
        m_server = std::make_unique<LoopbackServer>();
        QVERIFY(m_server->listen());
    }

    void cleanup()
    {
        m_wizard.reset();
        m_server.reset();
        setLanguage(QStringLiteral("en"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void homePageWithinTheDeadline_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("hanging"); // "pictures", "documents", or "none": no service
        QTest::addColumn<QString>("appsLanguage"); // of the service's applications
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QString>("banner"); // "downloaded", or the shipped banner's language

        QTest::newRow("everything answers") << "en"
                                            << ""
                                            << "en" << kRemoteApps << "downloaded";
        QTest::newRow("pictures hang") << "en"
                                       << "pictures"
                                       << "en" << kRemoteApps << "en";
        QTest::newRow("documents hang") << "en"
                                        << "documents"
                                        << "en" << kDefaultApps << "en";
        QTest::newRow("language without content") << "it"
                                                  << ""
                                                  << "en" << kRemoteApps << "en";
        QTest::newRow("language without content, no service") << "it"
                                                              << "none"
                                                              << "en" << kDefaultApps << "en";
        QTest::newRow("no applications for the language") << "en"
                                                          << ""
                                                          << "de" << QStringList() << "downloaded";
    }

    void homePageWithinTheDeadline()
    {
        QFETCH(QString, language);
        QFETCH(QString, hanging);
        QFETCH(QString, appsLanguage);
        QFETCH(QStringList, cards);
        QFETCH(QString, banner);
        setLanguage(language);
        serve(hanging, appsLanguage);
        if (hanging == QLatin1String("none"))
            TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), QString());

        Uninstall* wizard = showHome();
        QVERIFY(wizard);
        QCOMPARE(cardNames(wizard), cards);
        // No heading above an empty pager.
        QCOMPARE(child(wizard, "frameRecTitle")->isHidden(), cards.isEmpty());
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            bannerSheet(banner == QLatin1String("downloaded")
                    ? UrlHandler::downloadDirectory() + "banner_pic_" + language + ".png"
                    : shippedBanner(banner)));
    }

    // The cause document fails at once and the defaults show; the applications and pictures
    // that come after still replace them, and loading ends only once.
    void lateContentAfterAFailedDocument()
    {
        serve(QString(), QStringLiteral("en"), 800);
        m_server->setResponse(QStringLiteral("/chose.json"), LoopbackServer::Response::error(404));

        Uninstall* wizard = showHome();
        QVERIFY(wizard);
        QCOMPARE(cardNames(wizard), kDefaultApps);
        QTRY_COMPARE(cardNames(wizard), kRemoteApps);
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            bannerSheet(UrlHandler::downloadDirectory() + "banner_pic_en.png"));
        QCOMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 1);
        QCOMPARE(
            TestEnv::logMessages(QStringLiteral("debug")).count(QStringLiteral("loading end!")), 1);
    }
};

UNINSTALL_TEST_MAIN(TestContentWindow)
#include "tst_contentwindow.moc"
