// The purchase offer: the discount from the host and the price file, the banner and promotion
// pictures, and the buy actions with what they open and report.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallcontext.h"
#include "wizard/uninstall.h"

#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

using namespace WizardRunner;

namespace {

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
        m_context.discount = hostDiscount;

        m_wizard = showWizard(true);
        QCOMPARE(m_wizard->discount(), discount);
        QStringList lines;
        for (const QString& line : TestEnv::logLines()) {
            if (line.contains(QStringLiteral("] [Uninstall] ")))
                lines.append(line.mid(line.indexOf(QStringLiteral("] [Uninstall] ")) + 2));
        }
        QCOMPARE(lines,
            logged.isEmpty() ? QStringList()
                             : QStringList { QStringLiteral("[Uninstall] [5] ") + logged });

        QCOMPARE(m_wizard->readPrice(QStringLiteral("en")), price);
    }

    void pictures_data()
    {
        QTest::addColumn<bool>("bannerDownloaded");
        QTest::addColumn<bool>("promotionDownloaded");
        QTest::newRow("banner only") << true << false;
        QTest::newRow("promotion only") << false << true;
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

        Uninstall* wizard = openAt(Home);
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
            QCOMPARE(analytics(), events);
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
