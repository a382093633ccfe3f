// What the wizard window shows of its content when the service hangs, fails part-way or has
// nothing for the language, against a loopback service with the content waits shrunk.

#include "content/urlhandler.h"
#include "entry/uninstallcontext.h"
#include "entry/waits.h"
#include "wizard/uninstall.h"

#include "servedcontent.h"
#include "wizardrunner.h"

#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QDir>
#include <QLabel>
#include <QStackedWidget>
#include <QtTest>

using namespace WizardRunner;

namespace {

using namespace ServedContent;

const QStringList kRemoteApps { QStringLiteral("A"), QStringLiteral("B") };
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

QString bannerSheet(const QString& banner, const QString& language)
{
    const QString path = banner == QLatin1String("downloaded")
        ? UrlHandler::downloadDirectory() + "banner_pic_" + language + ".png"
        : TestEnv::resourceRoot() + "/uninstallConfig/banner_pic/" + banner + ".png";
    return QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(path);
}

Answers hanging(const char* suffix)
{
    Answers answers;
    for (const char* path : { "/rec.json", "/chose.json", "/cause.json", "/pics/banner_en.png",
             "/pics/promotion_en.png", "/icons/a.png", "/icons/b.png" }) {
        if (QByteArray(path).endsWith(suffix))
            answers.insert(path, Response::noAnswer());
    }
    return answers;
}

} // namespace

class TestContentWindow : public QObject {
    Q_OBJECT

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
        Waits::setScale(0.3);
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
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QString>("banner"); // "downloaded", or the shipped banner's language

        const Answers none { { "/config.json", Response::error(404) } };
        QTest::newRow("everything answers") << "en" << Answers() << kRemoteApps << "downloaded";
        QTest::newRow("pictures hang") << "en" << hanging(".png") << kRemoteApps << "en";
        QTest::newRow("documents hang") << "en" << hanging(".json") << kDefaultApps << "en";
        QTest::newRow("language without content") << "it" << Answers() << kRemoteApps << "en";
        QTest::newRow("language without content, no service")
            << "it" << none << kDefaultApps << "en";
        QTest::newRow("no applications for the language")
            << "en" << Answers { { "/rec.json", apps({ "a.png" }, "de") } } << QStringList()
            << "downloaded";
    }

    void homePageWithinTheDeadline()
    {
        QFETCH(QString, language);
        QFETCH(Answers, answers);
        QFETCH(QStringList, cards);
        QFETCH(QString, banner);
        setLanguage(language);
        serve(*m_server, answers);

        Uninstall* wizard = showHome();
        QVERIFY(wizard);
        QCOMPARE(cardNames(wizard), cards);
        // No heading above an empty pager.
        QCOMPARE(child(wizard, "frameRecTitle")->isHidden(), cards.isEmpty());
        QCOMPARE(child(wizard, "discountBg")->styleSheet(), bannerSheet(banner, language));
    }

    // The cause document fails at once and the defaults show; the applications and pictures
    // that come after still replace them, and loading ends only once.
    void lateContentAfterAFailedDocument()
    {
        serve(*m_server,
            { { "/chose.json", Response::error(404) },
                { "/rec.json", remoteApps().delayed(600) } });

        Uninstall* wizard = showHome();
        QVERIFY(wizard);
        QCOMPARE(cardNames(wizard), kDefaultApps);
        QTRY_COMPARE(cardNames(wizard), kRemoteApps);
        QCOMPARE(child(wizard, "discountBg")->styleSheet(), bannerSheet("downloaded", "en"));
        QCOMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 1);
        QCOMPARE(
            TestEnv::logMessages(QStringLiteral("debug")).count(QStringLiteral("loading end!")), 1);
    }
};

UNINSTALL_TEST_MAIN(TestContentWindow)
#include "tst_contentwindow.moc"
