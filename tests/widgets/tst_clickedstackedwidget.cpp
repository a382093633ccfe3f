#include "testenvironment.h"
#include "testpictures.h"

#include "content/recapp.h"
#include "widgets/clickedstackedwidget.h"
#include "widgets/recframe.h"

#include "ternlog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

namespace {

const QStringList backgroundColours { "#c0392b", "#27ae60", "#2980b9", "#8e44ad" };
const QString fourNames = QStringLiteral("bg0.png*bg1.png*bg2.png*bg3.png");

QVector<RecApp> makeApps(int count)
{
    QVector<RecApp> apps;
    for (int i = 0; i < count; ++i) {
        apps.append({ QStringLiteral("icon%1.png").arg(i), QStringLiteral("App %1").arg(i),
            QStringLiteral("https://www.example.com/app%1").arg(i) });
    }
    return apps;
}

QStackedWidget* pagesOf(const ClickedStackedWidget& pager)
{
    return pager.findChild<QStackedWidget*>(QStringLiteral("recWidget"));
}

QList<RecFrame*> cardsOn(const QWidget* page)
{
    // The layout's order is the order the user reads the cards in.
    QList<RecFrame*> cards;
    QLayout* layout = page->layout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        if (auto* card = qobject_cast<RecFrame*>(layout->itemAt(i)->widget()))
            cards.append(card);
    }
    return cards;
}

QList<int> cardsPerPage(const ClickedStackedWidget& pager)
{
    QList<int> counts;
    const QStackedWidget* pages = pagesOf(pager);
    for (int i = 0; i < pages->count(); ++i)
        counts.append(cardsOn(pages->widget(i)).size());
    return counts;
}

bool buttonsShown(const ClickedStackedWidget& pager)
{
    const auto* previous = pager.findChild<QToolButton*>(QStringLiteral("btnPre"));
    const auto* next = pager.findChild<QToolButton*>(QStringLiteral("btnNext"));
    return !previous->isHidden() && !next->isHidden();
}

} // namespace

class TestClickedStackedWidget : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the browser: QDesktopServices hands every web link here.
    void openUrl(const QUrl& url) { openedUrls.append(url); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pagesHoldOneCardPerBackgroundName_data();
    void pagesHoldOneCardPerBackgroundName();
    void rebuildReplacesAllPages();
    void skinPropertiesApplyBeforeTheForm();
    void emptyBackgroundNamesShowOneBareCardPerPage();
    void pagingWrapsAround();
    void zoomScalesCardsAndGaps_data();
    void zoomScalesCardsAndGaps();
    void missingDownloadedIconFallsBackToShippedOne();
    void learnMoreReportsAndOpensOnEveryClick();
    void screenshotShowsPicturesWhereTheyBelong();

private:
    QString skinPath() const { return pictures->path() + QStringLiteral("/skin/"); }
    QString downloadedIcon(const QString& name) const
    {
        return TestEnv::dataLocation() + QStringLiteral("/uninstallRes/") + name;
    }
    QString shippedIcon(const QString& name) const
    {
        return TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/recAppIcon/") + name;
    }
    void writeBackgrounds(const QSize& size);
    void writeDownloadedIcons(int count, const QSize& size);
    void configure(ClickedStackedWidget& pager, const QString& names);

    std::unique_ptr<QTemporaryDir> pictures;
    QList<QUrl> openedUrls;
};

void TestClickedStackedWidget::initTestCase()
{
    SetLogfile((TestEnv::dataLocation() + "/uninstall.log").toStdString().c_str());
    SetLogLevel(1);
}

void TestClickedStackedWidget::init()
{
    // Pictures and gaps follow the display zoom; the tests that care set their own.
    qputenv("TERN_ZOOM_DPI", "1");
    pictures = std::make_unique<QTemporaryDir>();
    QVERIFY(pictures->isValid());
    writeBackgrounds(QSize(200, 120));
    writeDownloadedIcons(10, QSize(32, 32));
    TestEnv::clearLog();
    TestEnv::clearAnalyticsEvents();
    openedUrls.clear();
}

void TestClickedStackedWidget::cleanup()
{
    pictures.reset();
    QDir(TestEnv::dataLocation() + QStringLiteral("/uninstallRes")).removeRecursively();
    QDir(shippedIcon(QString())).removeRecursively();
    qApp->setStyleSheet(QString());
    qunsetenv("TERN_ZOOM_DPI");
    TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), QStringLiteral("0"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestClickedStackedWidget::writeBackgrounds(const QSize& size)
{
    for (int i = 0; i < backgroundColours.size(); ++i) {
        QVERIFY(TestPictures::write(
            skinPath() + QStringLiteral("bg%1.png").arg(i), size, QColor(backgroundColours.at(i))));
    }
}

void TestClickedStackedWidget::writeDownloadedIcons(int count, const QSize& size)
{
    for (int i = 0; i < count; ++i) {
        QVERIFY(TestPictures::write(
            downloadedIcon(QStringLiteral("icon%1.png").arg(i)), size, QColor("#f1c40f")));
    }
}

void TestClickedStackedWidget::configure(ClickedStackedWidget& pager, const QString& names)
{
    pager.setProperty("SkinPath", skinPath());
    pager.setProperty("FrameRecBg", names);
}

void TestClickedStackedWidget::pagesHoldOneCardPerBackgroundName_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<int>("appCount");
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<bool>("buttons");

    QTest::newRow("four names, ten apps") << fourNames << 10 << QList<int> { 4, 4, 2 } << true;
    QTest::newRow("four names, four apps") << fourNames << 4 << QList<int> { 4 } << false;
    QTest::newRow("four names, five apps") << fourNames << 5 << QList<int> { 4, 1 } << true;
    QTest::newRow("three names, four apps")
        << "bg0.png*bg1.png*bg2.png" << 4 << QList<int> { 3, 1 } << false;
    QTest::newRow("one name, three apps") << "bg0.png" << 3 << QList<int> { 1, 1, 1 } << false;
    QTest::newRow("two asterisks make an empty middle name")
        << "bg0.png**bg1.png" << 6 << QList<int> { 3, 3 } << true;
    QTest::newRow("four names, no apps") << fourNames << 0 << QList<int> {} << false;
}

void TestClickedStackedWidget::pagesHoldOneCardPerBackgroundName()
{
    QFETCH(QString, names);
    QFETCH(int, appCount);
    QFETCH(QList<int>, pages);
    QFETCH(bool, buttons);

    ClickedStackedWidget pager(nullptr);
    configure(pager, names);
    const QVector<RecApp> apps = makeApps(appCount);
    pager.setRecAppInfos(apps);

    QCOMPARE(cardsPerPage(pager), pages);
    QCOMPARE(buttonsShown(pager), buttons);
    QCOMPARE(pagesOf(pager)->currentIndex(), pages.isEmpty() ? -1 : 0);

    // Cards run through the applications in order, page after page.
    QStringList shown;
    for (int i = 0; i < pagesOf(pager)->count(); ++i) {
        const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(i));
        for (const RecFrame* card : cards)
            shown.append(card->findChild<QLabel*>(QStringLiteral("recName"))->text());
    }
    QStringList expected;
    for (const RecApp& app : apps)
        expected.append(app.name);
    QCOMPARE(shown, expected);
}

void TestClickedStackedWidget::rebuildReplacesAllPages()
{
    ClickedStackedWidget pager(nullptr);
    configure(pager, fourNames);
    pager.setRecAppInfos(makeApps(10));
    // The form's own empty pages are gone with the first build.
    QVERIFY(!pager.findChild<QWidget*>(QStringLiteral("page")));
    QVERIFY(!pager.findChild<QWidget*>(QStringLiteral("page_2")));

    pager.setRecAppInfos(makeApps(3));
    QCOMPARE(cardsPerPage(pager), QList<int> { 3 });
    QCOMPARE(pager.findChildren<RecFrame*>().size(), 3);
    QVERIFY2(buttonsShown(pager), "a rebuild never hides the buttons again");

    pager.setRecAppInfos({});
    QCOMPARE(pagesOf(pager)->count(), 0);
    QVERIFY(pager.findChildren<RecFrame*>().isEmpty());
    QVERIFY(buttonsShown(pager));
}

void TestClickedStackedWidget::skinPropertiesApplyBeforeTheForm()
{
    qApp->setStyleSheet(
        QStringLiteral("ClickedStackedWidget { qproperty-FrameRecBg: 'bg0.png*bg1.png';"
                       " qproperty-SkinPath: '%1'; qproperty-recfrmSpacing: 15; }")
            .arg(skinPath()));
    ClickedStackedWidget pager(nullptr);
    QCOMPARE(pager.property("recfrmSpacing").toInt(), 15);
    QCOMPARE(pager.property("FrameRecBg").toString(), QString());
    QCOMPARE(pager.property("SkinPath").toString(), QString());
    const QStringList debug = TestEnv::logMessages(QStringLiteral("debug"));
    QVERIFY(
        debug.contains(QStringLiteral("ClickedStackedWidget bind frameRecbg: bg0.png*bg1.png")));
    QVERIFY(debug.contains(QStringLiteral("ClickedStackedWidget bind skinPath: ") + skinPath()));

    // Empty values are ignored rather than wiping what the skin set.
    pager.setProperty("FrameRecBg", QString());
    pager.setProperty("SkinPath", QString());
    pager.setRecAppInfos(makeApps(3));
    QCOMPARE(cardsPerPage(pager), (QList<int> { 2, 1 }));
    const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(0));
    QCOMPARE(cards.at(0)->size(), QSize(100, 60));
    QCOMPARE(
        TestPictures::colourAt(cards.at(1)->grab(), QPoint(1, 1)), QColor(backgroundColours.at(1)));
}

void TestClickedStackedWidget::emptyBackgroundNamesShowOneBareCardPerPage()
{
    ClickedStackedWidget pager(nullptr);
    pager.setRecAppInfos(makeApps(3));
    QCOMPARE(cardsPerPage(pager), (QList<int> { 1, 1, 1 }));
    const RecFrame* card = cardsOn(pagesOf(pager)->widget(0)).first();
    QVERIFY2(!card->autoFillBackground(), "a card without a background name paints none");
    QVERIFY2(card->maximumSize() != QSize(0, 0), "a card without a background is not collapsed");
    QVERIFY(
        TestEnv::logMessages(QStringLiteral("error"))
            .contains(QStringLiteral("ClickedStackedWidget FrameRecBg empty, one card per page")));
}

void TestClickedStackedWidget::pagingWrapsAround()
{
    ClickedStackedWidget pager(nullptr);
    configure(pager, fourNames);
    pager.setRecAppInfos(makeApps(10));
    auto* previous = pager.findChild<QToolButton*>(QStringLiteral("btnPre"));
    auto* next = pager.findChild<QToolButton*>(QStringLiteral("btnNext"));
    QStackedWidget* pages = pagesOf(pager);

    QList<int> visited;
    for (int i = 0; i < 3; ++i) {
        next->click();
        visited.append(pages->currentIndex());
    }
    QCOMPARE(visited, (QList<int> { 1, 2, 0 }));
    visited.clear();
    for (int i = 0; i < 3; ++i) {
        previous->click();
        visited.append(pages->currentIndex());
    }
    QCOMPARE(visited, (QList<int> { 2, 1, 0 }));
    QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                .contains(QStringLiteral("ClickedStackedWidget onBtnPrePage run!")));
}

void TestClickedStackedWidget::zoomScalesCardsAndGaps_data()
{
    QTest::addColumn<QByteArray>("zoom");
    QTest::addColumn<QString>("noUserDpiChange");
    QTest::addColumn<QSize>("background");
    QTest::addColumn<QSize>("card");
    QTest::addColumn<QSize>("icon");
    QTest::addColumn<int>("gap");

    QTest::newRow("zoom 1") << QByteArray("1") << "0" << QSize(200, 120) << QSize(100, 60)
                            << QSize(16, 12) << 21;
    QTest::newRow("zoom 1.5") << QByteArray("1.5") << "0" << QSize(200, 120) << QSize(150, 90)
                              << QSize(24, 18) << 31;
    QTest::newRow("zoom 1.5 switched off")
        << QByteArray("1.5") << "1" << QSize(200, 120) << QSize(100, 60) << QSize(16, 12) << 21;
    QTest::newRow("odd sizes round halves up")
        << QByteArray("1.25") << "0" << QSize(201, 121) << QSize(126, 76) << QSize(20, 15) << 26;
}

void TestClickedStackedWidget::zoomScalesCardsAndGaps()
{
    QFETCH(QByteArray, zoom);
    QFETCH(QString, noUserDpiChange);
    QFETCH(QSize, background);
    QFETCH(QSize, card);
    QFETCH(QSize, icon);
    QFETCH(int, gap);

    qputenv("TERN_ZOOM_DPI", zoom);
    TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), noUserDpiChange);
    writeBackgrounds(background);
    writeDownloadedIcons(2, QSize(32, 24));

    ClickedStackedWidget pager(nullptr);
    configure(pager, QStringLiteral("bg0.png*bg1.png"));
    pager.setRecAppInfos(makeApps(2));

    QWidget* page = pagesOf(pager)->widget(0);
    const QList<RecFrame*> cards = cardsOn(page);
    QCOMPARE(cards.size(), 2);
    QCOMPARE(cards.at(0)->minimumSize(), card);
    QCOMPARE(cards.at(0)->maximumSize(), card);
    QCOMPARE(cards.at(0)
                 ->findChild<QLabel*>(QStringLiteral("recIcon"))
                 ->pixmap(Qt::ReturnByValue)
                 .size(),
        icon);
    // Each card is followed by its own gap, then the row ends in a stretch.
    QLayout* row = page->layout();
    QCOMPARE(row->count(), 5);
    QCOMPARE(row->itemAt(1)->spacerItem()->sizeHint().width(), gap);
    QCOMPARE(row->itemAt(3)->spacerItem()->sizeHint().width(), gap);
    QCOMPARE(row->itemAt(4)->spacerItem()->expandingDirections(), Qt::Horizontal);
}

void TestClickedStackedWidget::missingDownloadedIconFallsBackToShippedOne()
{
    QVERIFY(TestPictures::write(downloadedIcon("fetched.png"), QSize(32, 32), Qt::red));
    QVERIFY(TestPictures::write(shippedIcon("fetched.png"), QSize(32, 32), Qt::blue));
    QVERIFY(TestPictures::write(shippedIcon("shipped.png"), QSize(32, 32), Qt::green));
    // A picture outside the download folder that a hostile name would reach.
    QVERIFY(TestPictures::write(downloadedIcon("../outside.png"), QSize(32, 32), Qt::yellow));
    const QVector<RecApp> apps {
        { "fetched.png", "Fetched", "https://www.example.com/fetched" },
        { "shipped.png", "Shipped", "https://www.example.com/shipped" },
        { "nowhere.png", "Nowhere", "https://www.example.com/nowhere" },
        { "../outside.png", "Outside", "https://www.example.com/outside" },
    };

    ClickedStackedWidget pager(nullptr);
    configure(pager, QStringLiteral("bg0.png*bg1.png*bg2.png*bg3.png"));
    pager.setRecAppInfos(apps);

    const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(0));
    auto iconOf = [](const RecFrame* card) {
        return card->findChild<QLabel*>(QStringLiteral("recIcon"))->pixmap(Qt::ReturnByValue);
    };
    QCOMPARE(TestPictures::centreColour(iconOf(cards.at(0))), QColor(Qt::red));
    QCOMPARE(TestPictures::centreColour(iconOf(cards.at(1))), QColor(Qt::green));
    QVERIFY(iconOf(cards.at(2)).isNull());
    QVERIFY(iconOf(cards.at(3)).isNull());

    const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
    QVERIFY(!errors.contains(QStringLiteral("recApp icon not exists:Fetched")));
    QVERIFY(errors.contains(QStringLiteral("recApp icon not exists:Shipped")));
    QVERIFY(errors.contains(QStringLiteral("recApp icon not exists:Nowhere")));
    QVERIFY(errors.contains(QStringLiteral("refused icon file name: ../outside.png")));
}

void TestClickedStackedWidget::learnMoreReportsAndOpensOnEveryClick()
{
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
    ClickedStackedWidget pager(nullptr);
    configure(pager, fourNames);
    pager.setRecAppInfos(makeApps(2));
    RecFrame* card = cardsOn(pagesOf(pager)->widget(0)).at(1);
    auto* button = card->findChild<QPushButton*>(QStringLiteral("btnRecUrl"));
    QCOMPARE(button->text(), QStringLiteral("Learn More"));

    QTest::mouseClick(button, Qt::LeftButton);
    // The event names the card as it reads when clicked.
    card->setName(QStringLiteral("Renamed"));
    QTest::mouseClick(button, Qt::LeftButton);

    const QUrl link(QStringLiteral("https://www.example.com/app1"));
    QCOMPARE(openedUrls, (QList<QUrl> { link, link }));
    const QList<QJsonObject> events = TestEnv::analyticsEvents();
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.at(0).value("action").toString(), QStringLiteral("click_recommend_App 1"));
    QCOMPARE(events.at(1).value("action").toString(), QStringLiteral("click_recommend_Renamed"));
    for (const QJsonObject& event : events) {
        QCOMPARE(event.value("category").toString(), QStringLiteral("offload_retention"));
        QCOMPARE(event.value("type").toInt(), 1);
        QCOMPARE(event.value("label").toString(), QString());
        QCOMPARE(event.value("value").toInt(), 0);
    }
}

void TestClickedStackedWidget::screenshotShowsPicturesWhereTheyBelong()
{
    writeBackgrounds(QSize(240, 260));
    writeDownloadedIcons(6, QSize(64, 64));
    ClickedStackedWidget pager(nullptr);
    configure(pager, fourNames);
    pager.setRecAppInfos(makeApps(6));
    pager.resize(640, 160);
    pager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pager));

    const QPixmap shot = pager.grab();
    const QString shots = TestEnv::sandboxRoot() + QStringLiteral("/shots");
    QDir().mkpath(shots);
    QVERIFY(shot.save(shots + QStringLiteral("/pager.png")));
    // For a person to look at: copied out only when asked for.
    const QString lookAt = qEnvironmentVariable("UNINSTALL_SHOTS_DIR");
    if (!lookAt.isEmpty() && QDir().mkpath(lookAt))
        shot.save(lookAt + QStringLiteral("/pager.png"));

    const QImage image = shot.toImage();
    const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->currentWidget());
    QCOMPARE(cards.size(), 4);
    for (int i = 0; i < cards.size(); ++i) {
        const RecFrame* card = cards.at(i);
        QCOMPARE(card->size(), QSize(120, 130));
        const QPoint corner = card->mapTo(&pager, QPoint(2, 2));
        QCOMPARE(image.pixelColor(corner), QColor(backgroundColours.at(i)));
        const auto* icon = card->findChild<QLabel*>(QStringLiteral("recIcon"));
        const QPoint iconCentre = icon->mapTo(&pager, icon->rect().center());
        QCOMPARE(image.pixelColor(iconCentre), QColor("#f1c40f"));
    }
}

UNINSTALL_TEST_MAIN(TestClickedStackedWidget)
#include "tst_clickedstackedwidget.moc"
