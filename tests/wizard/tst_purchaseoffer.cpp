// The purchase offer: the discount from the host and the price file, the banner and promotion
// pictures, and the buy actions with what they open and report.

#include "testenvironment.h"
#include "testfiles.h"
#include "wizardrunner.h"

#include "entry/uninstallcontext.h"
#include "wizard/uninstall.h"

#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

using namespace WizardRunner;

namespace {

const QString kSkin = QStringLiteral(
    "Uninstall { qproperty-textColor: '#111111*#222222'; qproperty-textWeight: '700*600'; "
    "qproperty-lineHeight: '150%'; qproperty-fontSize: 16; qproperty-fontWeight: 700; "
    "qproperty-clrTitleText: '#ff5a36'; qproperty-fontPurchaseSize: 22; }");

QString priceFile()
{
    return TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json");
}

QString downloadedPicture(const QString& kind, const QString& language)
{
    return TestEnv::dataLocation()
        + QStringLiteral("/uninstallRes/%1_pic_%2.png").arg(kind, language);
}

} // namespace

class TestPurchaseOffer : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    UrlRecorder m_browser;
    std::unique_ptr<Uninstall> m_wizard;

    // The given page after loading, with the events sent on the way gone.
    Uninstall* openAt(Page page)
    {
        m_wizard = showWizard(true);
        if (!QTest::qWaitForWindowExposed(m_wizard.get()) || !walkTo(m_wizard.get(), page))
            return nullptr;
        TestEnv::clearAnalyticsEvents();
        return m_wizard.get();
    }

    static QUrl purchasePage()
    {
        return QUrl(TernProductInfo::instance()->purchaseUrl(QString(), nullptr));
    }

private slots:
    void initTestCase()
    {
        setUpHost(&m_context);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
        QVERIFY(!purchasePage().isEmpty());
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    void init()
    {
        m_context.discount = 0;
        m_browser.opened.clear();
        TestEnv::clearAnalyticsEvents();
        TestEnv::clearLog();
    }

    void cleanup()
    {
        m_wizard.reset();
        qApp->setStyleSheet(QString());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // The discount: the host's when it gives one, else the price file's for the language, else
    // 20; the offer's texts show it in the skin's style.
    void discount_data()
    {
        QTest::addColumn<QByteArray>("prices");
        QTest::addColumn<int>("hostDiscount");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("price"); // what the file says for English
        QTest::addColumn<int>("discount");
        QTest::addColumn<QString>("logged");
        const char* const noFile = "price.json file open error! will return!";
        const char* const both = R"({"en": "35", "de": "40"})";
        const auto row = [](const char* name, const char* prices, int host, const char* language,
                             int price, int discount, const char* logged = "") {
            QTest::newRow(name) << QByteArray(prices) << host << QString(language) << price
                                << discount << QString(logged);
        };
        row("string value", both, 0, "en", 35, 35);
        row("language's own", both, 0, "de", 35, 40);
        row("language without one", both, 0, "it", 35, 35);
        row("number value", R"({"en": 30})", 0, "en", -1, 20);
        row("zero", R"({"en": "0"})", 0, "en", 0, 20);
        row("negative", R"({"en": "-5"})", 0, "en", -1, 20);
        row("over 100", R"({"en": "150"})", 0, "en", -1, 20);
        row("not a number", R"({"en": "half"})", 0, "en", -1, 20);
        row("other language only", R"({"de": "40"})", 0, "en", -1, 20);
        row("not an object", R"(["35"])", 0, "en", -1, 20);
        row("missing file", nullptr, 0, "en", -1, 20, noFile);
        row("broken JSON", R"({"en": "35")", 0, "en", -1, 20, "parseJsonErr.error");
        row("host over price", both, 45, "en", 35, 45);
        row("host, file not read", nullptr, 45, "en", -1, 45);
    }

    void discount()
    {
        QFETCH(QByteArray, prices);
        QFETCH(int, hostDiscount);
        QFETCH(QString, language);
        QFETCH(int, discount);
        QFETCH(QString, logged);
        QFile::remove(priceFile());
        if (!prices.isNull())
            QVERIFY(TestEnv::writeFile(priceFile(), prices));
        m_context.discount = hostDiscount;
        qApp->setStyleSheet(kSkin);
        TernResourceMgr::instance()->setCurrentLanguage(language);
        m_wizard = showWizard(true);
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QCOMPARE(m_wizard->discount(), discount);
        QStringList lines;
        for (const QString& line : TestEnv::logLines()) {
            if (line.contains(QStringLiteral("] [Uninstall] ")))
                lines.append(line.mid(line.indexOf(QStringLiteral("] [Uninstall] ")) + 2));
        }
        QCOMPARE(lines,
            logged.isEmpty() ? QStringList()
                             : QStringList { QStringLiteral("[Uninstall] [5] ") + logged });

        QTEST(m_wizard->readPrice(QStringLiteral("en")), "price");
        const QString figure = QString::number(discount);
        QVERIFY(child<QLabel>(m_wizard.get(), "purchaseBtn")
                    ->text()
                    .contains(QStringLiteral("font-size:16pt; font-weight:700; color:#ff5a36;\">")
                        + figure + QStringLiteral("%</span>")));
        const QString offer = child<QLabel>(m_wizard.get(), "purchaseLab")->text();
        QVERIFY(offer.contains(QStringLiteral("font-size:22pt; font-weight:700; color:#111111;'>-"))
            && offer.contains(figure + QStringLiteral("%"))
            && offer.contains(QStringLiteral("line-height: 150%")));
        QVERIFY(child<QLabel>(m_wizard.get(), "updateTipLab")
                    ->text()
                    .contains(QStringLiteral("line-height: 150%")));
    }

    // Without the skin's colour and weight lists the offer sentence stays empty.
    void offerNeedsTheStyleLists()
    {
        m_wizard = showWizard(true);
        QVERIFY(child<QLabel>(m_wizard.get(), "purchaseLab")->text().isEmpty());
        QVERIFY(child<QLabel>(m_wizard.get(), "updateTipLab")
                    ->text()
                    .contains(QStringLiteral("line-height: %1")));
    }

    // The banner shown: the download when it is a usable picture, else the shipped one of the
    // wizard's language, else the product's default language's.
    void pictures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("downloaded"); // what lies where the banner is downloaded to
        QTest::addColumn<QString>("shown"); // "downloaded", or the shipped picture's language
        const char* const rows[][4] = {
            { "downloaded, language as it is", "pt-BR", "picture", "downloaded" },
            { "shipped, own language", "de", "nothing", "de" },
            { "shipped, product language", "pt-BR", "nothing", "en" },
            { "FIFO in its place", "pt-BR", "FIFO", "en" },
            { "declares 20000 x 20000", "pt-BR", "huge", "en" },
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
    }

    void pictures()
    {
        QFETCH(QString, language);
        QFETCH(QString, downloaded);
        QFETCH(QString, shown);
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernSettings::instance()->setLanguage(language);
        QDir(TestEnv::dataLocation() + QStringLiteral("/uninstallRes")).removeRecursively();
        const QString banner = downloadedPicture(QStringLiteral("banner"), language);
        if (downloaded == QLatin1String("picture"))
            QVERIFY(TestEnv::writeFile(banner, TestFiles::png()));
        if (downloaded == QLatin1String("FIFO"))
            QVERIFY(TestFiles::makeFifo(banner));
        if (downloaded == QLatin1String("huge"))
            QVERIFY(TestEnv::writeFile(banner, TestFiles::pngDeclaring(20000, 20000)));

        Uninstall* wizard = openAt(Home);
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
        QVERIFY(wizard);

        const QString shipped = TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/%1_pic/")
            + (shown == QLatin1String("downloaded") ? QStringLiteral("en") : shown)
            + QStringLiteral(".png");
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}")
                .arg(shown == QLatin1String("downloaded") ? banner
                                                          : shipped.arg(QStringLiteral("banner"))));
        QCOMPARE(child(wizard, "purchaseImg")->styleSheet(),
            QStringLiteral("Uninstall #purchaseImg{border-image: url(%1) 0;}")
                .arg(shipped.arg(QStringLiteral("promotion"))));
    }

    // What a press and release on the offer's pictures open and report.
    void pressAndRelease_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("drag");
        QTest::addColumn<QString>("shownDown");
        QTest::addColumn<int>("openedOnPress");
        QTest::addColumn<int>("openedOnRelease");
        QTest::addColumn<QString>("buy"); // the button the buy events name
        QTest::newRow("banner") << int(Reason) << QStringLiteral("discountBg") << false
                                << QStringLiteral("btnDiscount") << 0 << 1
                                << QStringLiteral("bannerandbuy");
        QTest::newRow("banner, dragged") << int(Reason) << QStringLiteral("discountBg") << true
                                         << QStringLiteral("btnDiscount") << 0 << 0 << QString();
        QTest::newRow("Buy Now with frame")
            << int(Home) << QStringLiteral("frmPurchaseBtn") << false << QString() << 1 << 1
            << QStringLiteral("buy");
        QTest::newRow("promotion picture") << int(Home) << QStringLiteral("purchaseImg") << false
                                           << QStringLiteral("purchaseBtn1") << 0 << 0 << QString();
    }

    void pressAndRelease()
    {
        QFETCH(int, page);
        QFETCH(QString, target);
        QFETCH(bool, drag);
        QFETCH(QString, shownDown);
        QFETCH(int, openedOnPress);
        QFETCH(int, openedOnRelease);
        QFETCH(QString, buy);
        Uninstall* wizard = openAt(Page(page));
        QVERIFY(wizard);
        QWidget* widget = child(wizard, qPrintable(target));
        QVERIFY(widget->isVisible());
        // The banner's own button sits at its right end: press beside it.
        QPoint at = widget->mapTo(wizard,
            target == QLatin1String("discountBg") ? QPoint(2, widget->height() / 2)
                                                  : widget->rect().center());
        auto* down
            = shownDown.isEmpty() ? nullptr : child<QPushButton>(wizard, qPrintable(shownDown));

        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(m_browser.opened.size(), openedOnPress);
        QVERIFY(!down || down->isDown());
        if (drag) {
            at += QPoint(30, 0);
            QTest::mouseMove(wizard->windowHandle(), at);
            QVERIFY(wizard->isDragging());
        }
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(!down || !down->isDown());
        QCOMPARE(m_browser.opened, QVector<QUrl>(openedOnRelease, purchasePage()).toList());
        QStringList events;
        if (!buy.isEmpty())
            events << QStringLiteral("offload_retention|btn_%1|1||0").arg(buy)
                   << QStringLiteral("openpurchasebehavior|openpurchaseurl|1|uninstall_btn_%1|0")
                          .arg(buy);
        if (!drag)
            QCOMPARE(analytics({ "category", "action", "type", "label", "value" }), events);
        QCOMPARE(
            child<QStackedWidget>(wizard, "processPage")->currentIndex(), page == Home ? 1 : 2);
        if (drag) {
            startDragging(wizard);
            child<QPushButton>(wizard, "purchaseBtn1")->click();
            QVERIFY(m_browser.opened.isEmpty());
        }
    }
};

UNINSTALL_TEST_MAIN(TestPurchaseOffer)
#include "tst_purchaseoffer.moc"
