// The purchase offer: the discount from the host and the price file, the banner and promotion
// pictures, and the buy actions with what they open and report.

#include "testenvironment.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "ternlog.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

namespace {

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// Every event as category|action|type|label|value.
QStringList analytics()
{
    QStringList result;
    const QList<QJsonObject> events = TestEnv::analyticsEvents();
    for (const QJsonObject& event : events) {
        result.append(QStringList { event.value(QStringLiteral("category")).toString(),
            event.value(QStringLiteral("action")).toString(),
            QString::number(event.value(QStringLiteral("type")).toInt()),
            event.value(QStringLiteral("label")).toString(),
            QString::number(event.value(QStringLiteral("value")).toInt()) }
                          .join(QLatin1Char('|')));
    }
    return result;
}

QString priceFile()
{
    return TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json");
}

QString downloadedPicture(const QString& kind, const QString& language)
{
    return TestEnv::dataLocation()
        + QStringLiteral("/uninstallRes/%1_pic_%2.png").arg(kind, language);
}

QPoint centreIn(QWidget* widget, QWidget* window)
{
    return widget->mapTo(window, widget->rect().center());
}

} // namespace

// Stands in for the desktop's browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestPurchaseOffer : public QObject {
    Q_OBJECT

private:
    UninstallContext* m_context = nullptr;
    UrlRecorder m_browser;
    QByteArray m_shippedPrices;
    std::unique_ptr<Uninstall> m_wizard;

    Uninstall* makeWizard()
    {
        m_wizard = std::make_unique<Uninstall>();
        m_wizard->show();
        return m_wizard.get();
    }

    // The home page after loading, with the start-up events gone.
    Uninstall* homePage()
    {
        Uninstall* wizard = makeWizard();
        auto* pages = child<QStackedWidget>(wizard, "processPage");
        if (!QTest::qWaitForWindowExposed(wizard)
            || !QTest::qWaitFor([pages] { return pages->currentIndex() == 1; }))
            return nullptr;
        TestEnv::clearAnalyticsEvents();
        return wizard;
    }

    static QUrl purchasePage()
    {
        return QUrl(TernProductInfo::instance()->purchaseUrl(QString(), nullptr));
    }

private slots:
    void initTestCase()
    {
        SetLogfile(
            (TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
        SetLogLevel(1);
        // The holder keeps the record for the whole process; the rows change its discount.
        m_context = new UninstallContext;
        UninstallRegMgr::init()->setRegContext(m_context);
        TernSingleInstance::instance()->forceRunState(0);
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
        QFile shipped(priceFile());
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        m_shippedPrices = shipped.readAll();
        QVERIFY(!purchasePage().isEmpty());
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        TestEnv::writeFile(priceFile(), m_shippedPrices);
    }

    void init()
    {
        m_context->discount = 0;
        m_browser.opened.clear();
        TestEnv::clearAnalyticsEvents();
        TestEnv::clearLog();
    }

    void cleanup()
    {
        m_wizard.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void discount_data()
    {
        QTest::addColumn<QByteArray>("prices");
        QTest::addColumn<int>("hostDiscount");
        QTest::addColumn<int>("price");
        QTest::addColumn<int>("discount");
        QTest::addColumn<QString>("logged");

        const QString none;
        const QString noFile = QStringLiteral("price.json file open error! will return!");
        const QString broken = QStringLiteral("parseJsonErr.error");
        QTest::newRow("string value")
            << QByteArray(R"({"en": "35", "de": "40"})") << 0 << 35 << 35 << none;
        QTest::newRow("number value") << QByteArray(R"({"en": 30})") << 0 << -1 << 20 << none;
        QTest::newRow("zero") << QByteArray(R"({"en": "0"})") << 0 << 0 << 20 << none;
        QTest::newRow("negative") << QByteArray(R"({"en": "-5"})") << 0 << -5 << 20 << none;
        QTest::newRow("not a number") << QByteArray(R"({"en": "half"})") << 0 << 0 << 20 << none;
        QTest::newRow("other language only")
            << QByteArray(R"({"de": "40"})") << 0 << -1 << 20 << none;
        QTest::newRow("not an object") << QByteArray(R"(["35"])") << 0 << -1 << 20 << none;
        QTest::newRow("missing file") << QByteArray() << 0 << -1 << 20 << noFile;
        QTest::newRow("broken JSON") << QByteArray(R"({"en": "35")") << 0 << -1 << 20 << broken;
        QTest::newRow("host over price") << QByteArray(R"({"en": "35"})") << 45 << 35 << 45 << none;
        QTest::newRow("host, file not read") << QByteArray() << 45 << -1 << 45 << none;
    }

    void discount()
    {
        QFETCH(QByteArray, prices);
        QFETCH(int, hostDiscount);
        QFETCH(int, price);
        QFETCH(int, discount);
        QFETCH(QString, logged);
        QFile::remove(priceFile());
        if (!prices.isNull())
            QVERIFY(TestEnv::writeFile(priceFile(), prices));
        m_context->discount = hostDiscount;

        Uninstall* wizard = makeWizard();
        QCOMPARE(wizard->discount(), discount);
        QStringList lines;
        for (const QString& line : TestEnv::logLines()) {
            if (line.contains(QStringLiteral("] [Uninstall] ")))
                lines.append(line.mid(line.indexOf(QStringLiteral("] [Uninstall] ")) + 2));
        }
        QCOMPARE(lines,
            logged.isEmpty() ? QStringList()
                             : QStringList { QStringLiteral("[Uninstall] [5] ") + logged });

        QCOMPARE(wizard->readPrice(QStringLiteral("en")), price);
    }

    void pictures_data()
    {
        QTest::addColumn<bool>("bannerDownloaded");
        QTest::addColumn<bool>("promotionDownloaded");
        QTest::newRow("both downloaded") << true << true;
        QTest::newRow("banner only") << true << false;
        QTest::newRow("promotion only") << false << true;
        QTest::newRow("defaults") << false << false;
    }

    void pictures()
    {
        QFETCH(bool, bannerDownloaded);
        QFETCH(bool, promotionDownloaded);
        // Downloaded pictures carry the language as it is, the defaults in lower case.
        const QString language = QStringLiteral("pt-BR");
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernSettings::instance()->setLanguage(language);
        QDir(TestEnv::dataLocation() + QStringLiteral("/uninstallRes")).removeRecursively();
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QDir().mkpath(TestEnv::dataLocation() + QStringLiteral("/uninstallRes"));
        if (bannerDownloaded)
            QVERIFY(picture.save(downloadedPicture(QStringLiteral("banner"), language)));
        if (promotionDownloaded)
            QVERIFY(picture.save(downloadedPicture(QStringLiteral("promotion"), language)));

        Uninstall* wizard = homePage();
        QVERIFY(wizard);
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));

        const QString defaults
            = TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/%1_pic/pt-br.png");
        const QString banner = bannerDownloaded
            ? downloadedPicture(QStringLiteral("banner"), language)
            : defaults.arg(QStringLiteral("banner"));
        const QString promotion = promotionDownloaded
            ? downloadedPicture(QStringLiteral("promotion"), language)
            : defaults.arg(QStringLiteral("promotion"));
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(banner));
        QCOMPARE(child(wizard, "purchaseImg")->styleSheet(),
            QStringLiteral("Uninstall #purchaseImg{border-image: url(%1) 0;}").arg(promotion));

        QStringList expected;
        if (!bannerDownloaded)
            expected << QStringLiteral("Uninstall downLoad banner_pic not exists!");
        if (!promotionDownloaded)
            expected << QStringLiteral("Uninstall downLoad promotion__pic not exists!");
        expected << QStringLiteral("Uninstall load downLoad res")
                 << QStringLiteral("Uninstall bind purchase img :") + banner
                + QStringLiteral(" || and promotion img:") + promotion;
        QStringList logged;
        for (const QString& message : TestEnv::logMessages(QStringLiteral("debug"))) {
            if (message.startsWith(QStringLiteral("Uninstall downLoad "))
                || message.startsWith(QStringLiteral("Uninstall load downLoad"))
                || message.startsWith(QStringLiteral("Uninstall bind purchase img")))
                logged.append(message);
        }
        QCOMPARE(logged, expected);
    }

    void bannerClickBuysOnce()
    {
        Uninstall* wizard = homePage();
        QVERIFY(wizard);
        child<QPushButton>(wizard, "btnContinue_1")->click();
        TestEnv::clearAnalyticsEvents();
        QWidget* banner = child(wizard, "discountBg");
        auto* button = child<QPushButton>(wizard, "btnDiscount");
        QVERIFY(banner->isVisible());
        const QPoint onBanner = banner->mapTo(wizard, QPoint(2, banner->height() / 2));
        QCOMPARE(wizard->childAt(onBanner), banner);

        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, onBanner);
        QVERIFY(button->isDown());
        QVERIFY(m_browser.opened.isEmpty());
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, onBanner);
        QVERIFY(!button->isDown());
        QCOMPARE(m_browser.opened, QList<QUrl> { purchasePage() });
        QCOMPARE(analytics(),
            (QStringList { QStringLiteral("offload_retention|btn_bannerandbuy|1||0"),
                QStringLiteral(
                    "openpurchasebehavior|openpurchaseurl|1|uninstall_btn_bannerandbuy|0") }));
        QCOMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 2);
    }

    void buyNowFrameBuysOnThePress()
    {
        Uninstall* wizard = homePage();
        QVERIFY(wizard);
        const QPoint onFrame = centreIn(child(wizard, "frmPurchaseBtn"), wizard);
        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, onFrame);
        QCOMPARE(m_browser.opened, QList<QUrl> { purchasePage() });
        const QStringList buy { QStringLiteral("offload_retention|btn_buy|1||0"),
            QStringLiteral("openpurchasebehavior|openpurchaseurl|1|uninstall_btn_buy|0") };
        QCOMPARE(analytics(), buy);
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, onFrame);
        QCOMPARE(m_browser.opened.size(), 1);
        QCOMPARE(analytics(), buy);
        QCOMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 1);
    }

    void promotionPictureOpensNothing()
    {
        Uninstall* wizard = homePage();
        QVERIFY(wizard);
        auto* look = child<QPushButton>(wizard, "purchaseBtn1");
        const QPoint onPicture = centreIn(child(wizard, "purchaseImg"), wizard);
        QCOMPARE(wizard->childAt(onPicture), child(wizard, "framePurchase"));
        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, onPicture);
        QVERIFY(look->isDown());
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, onPicture);
        QVERIFY(!look->isDown());
        QVERIFY(m_browser.opened.isEmpty());
        QVERIFY(analytics().isEmpty());
    }

    void nothingOpensAtTheEndOfADrag()
    {
        Uninstall* wizard = homePage();
        QVERIFY(wizard);
        child<QPushButton>(wizard, "btnContinue_1")->click();
        QWidget* banner = child(wizard, "discountBg");
        const QPoint start = banner->mapTo(wizard, QPoint(2, banner->height() / 2));
        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, start);
        QTest::mouseMove(wizard->windowHandle(), start + QPoint(30, 0));
        QVERIFY(wizard->isDragging());
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, start + QPoint(30, 0));
        QVERIFY(!wizard->isDragging());
        QVERIFY(m_browser.opened.isEmpty());

        QMouseEvent move(
            QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(wizard, &move);
        QVERIFY(wizard->isDragging());
        child<QPushButton>(wizard, "purchaseBtn1")->click();
        QVERIFY(m_browser.opened.isEmpty());
    }
};

UNINSTALL_TEST_MAIN(TestPurchaseOffer)
#include "tst_purchaseoffer.moc"
