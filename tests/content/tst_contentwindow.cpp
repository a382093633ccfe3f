// What the wizard window shows when the content service hangs, fails part-way or has nothing
// for the language.

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

        QTest::newRow("everything answers") << "en" << Answers() << kRemoteApps << "downloaded";
        QTest::newRow("pictures hang") << "en" << hanging(".png") << kRemoteApps << "en";
        QTest::newRow("documents hang") << "en" << hanging(".json") << kDefaultApps << "en";
        QTest::newRow("language without content") << "it" << Answers() << kRemoteApps << "en";
        QTest::newRow("language without content, no service")
            << "it" << Answers { { "/config.json", Response::error(404) } } << kDefaultApps << "en";
        QTest::newRow("no applications for the language")
            << "en" << Answers { { "/rec.json", apps({ "a.png" }, "de") } } << QStringList()
            << "downloaded";
        // The defaults show at once; the applications that come after still replace them.
        QTest::newRow("applications after a failed document")
            << "en"
            << Answers { { "/chose.json", Response::error(404) },
                   { "/rec.json", remoteApps().delayed(600) } }
            << kRemoteApps << "downloaded";
    }

    void homePageWithinTheDeadline()
    {
        QFETCH(QString, language);
        QFETCH(Answers, answers);
        QFETCH(QStringList, cards);
        QFETCH(QString, banner);
        setLanguage(language);
        serve(*m_server, answers);

        // The home page comes no later than the content waits allow.
        m_wizard = showWizard(true);
        Uninstall* wizard = m_wizard.get();
        auto* pages = child<QStackedWidget>(wizard, "processPage");
        QTRY_COMPARE_WITH_TIMEOUT(
            pages->currentIndex(), 1, 2 * Waits::scaled(Waits::kConfigurationMs) + 2000);
        QTRY_COMPARE(cardNames(wizard), cards);
        // No heading above an empty pager.
        QCOMPARE(child(wizard, "frameRecTitle")->isHidden(), cards.isEmpty());
        const QString path = banner == QLatin1String("downloaded")
            ? UrlHandler::downloadDirectory() + "banner_pic_" + language + ".png"
            : TestEnv::resourceRoot() + "/uninstallConfig/banner_pic/" + banner + ".png";
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(path));
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(
            TestEnv::logMessages(QStringLiteral("debug")).count(QStringLiteral("loading end!")), 1);
    }
};

UNINSTALL_TEST_MAIN(TestContentWindow)
#include "tst_contentwindow.moc"
