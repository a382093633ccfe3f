// The small widgets of the window: the recommendations pager's pages, pictures and links; the
// feature frames' brand texts, which follow a language change; the loading label's frames. (The
// suggestion box's hint is tried in tst_pages, on the reason page.)

#include "testenvironment.h"
#include "wizardrunner.h"

#include "content/recapp.h"
#include "widgets/clickedstackedwidget.h"
#include "widgets/frminfo.h"
#include "widgets/frminfo2.h"
#include "widgets/frmuser.h"
#include "widgets/loadinglabel.h"
#include "widgets/recframe.h"

#include "ternresourcemgr.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Writes a PNG of one colour, creating its folder; false on failure.
bool writePicture(const QString& path, const QSize& size, const QColor& colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

QColor centreColour(const QPixmap& pixmap)
{
    return pixmap.toImage().pixelColor(pixmap.rect().center());
}

const QStringList kBackgrounds { "#c0392b", "#27ae60", "#2980b9", "#8e44ad" };
const QString kFourNames = QStringLiteral("bg0.png*bg1.png*bg2.png*bg3.png");
const QColor kIconColour("#f1c40f");

QVector<RecApp> makeApps(int count)
{
    QVector<RecApp> apps;
    for (int i = 0; i < count; ++i)
        apps.append({ QStringLiteral("icon%1.png").arg(i), QStringLiteral("App %1").arg(i),
            QStringLiteral("https://www.example.com/app%1").arg(i) });
    return apps;
}

QStackedWidget* pagesOf(const ClickedStackedWidget& pager)
{
    return pager.findChild<QStackedWidget*>(QStringLiteral("recWidget"));
}

// In layout order: the order the user reads the cards in.
QList<RecFrame*> cardsOn(const QWidget* page)
{
    QList<RecFrame*> cards;
    for (int i = 0; page->layout() && i < page->layout()->count(); ++i) {
        if (auto* card = qobject_cast<RecFrame*>(page->layout()->itemAt(i)->widget()))
            cards.append(card);
    }
    return cards;
}

QPixmap iconOf(const RecFrame* card)
{
    return card->findChild<QLabel*>(QStringLiteral("recIcon"))->pixmap(Qt::ReturnByValue);
}

QString downloadedIcon(const QString& name)
{
    return TestEnv::dataLocation() + QStringLiteral("/uninstallRes/") + name;
}

QString shippedIcon(const QString& name)
{
    return TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/recAppIcon/") + name;
}

const QString kOwnInfo = QStringLiteral(
    "1000+ Formats Supported|120× Faster Conversion|15+ Years History, 50 Million + Users");
const QString kOwnUser = QStringLiteral("50 Million + |Users");

QString texts(const QWidget& frame)
{
    QStringList result;
    for (const char* name : { "lblText1", "lblText2", "lblText3", "label", "label_3" }) {
        if (const auto* label = frame.findChild<QLabel*>(QLatin1String(name)))
            result.append(label->text());
    }
    return result.join(QLatin1Char('|'));
}

QString brandFile()
{
    return TestEnv::installDir() + QStringLiteral("/brand_recommend.json");
}

QColor frameColour(int frame)
{
    return QColor(QColor::fromHsv((frame * 29) % 360, 200, 220).rgb());
}

const QColor baseColour(Qt::darkBlue);

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

    QTemporaryDir m_pictures;
    UrlRecorder m_browser;

    QString skinPath() const { return m_pictures.path() + QStringLiteral("/skin/"); }

    QString framePicture(const QString& name) const
    {
        return m_pictures.path() + QStringLiteral("/loading/%1.png").arg(name);
    }

    void writePictures(const QSize& background, int icons, const QSize& icon)
    {
        for (int i = 0; i < kBackgrounds.size(); ++i)
            QVERIFY(writePicture(skinPath() + QStringLiteral("bg%1.png").arg(i), background,
                QColor(kBackgrounds.at(i))));
        for (int i = 0; i < icons; ++i)
            QVERIFY(writePicture(
                downloadedIcon(QStringLiteral("icon%1.png").arg(i)), icon, kIconColour));
    }

    void build(ClickedStackedWidget& pager, const QString& names, const QVector<RecApp>& apps)
    {
        pager.setProperty("SkinPath", names.isEmpty() ? QString() : skinPath());
        pager.setProperty("FrameRecBg", names);
        pager.setRecAppInfos(apps);
    }

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        QVERIFY(writePicture(framePicture("base"), QSize(24, 24), baseColour));
        for (int frame = 0; frame < 12; ++frame)
            QVERIFY(writePicture(
                framePicture(QString::number(frame)), QSize(24, 24), frameColour(frame)));
    }

    void init()
    {
        TestEnv::clearLog();
        qputenv("TERN_ZOOM_DPI", "1");
        writePictures(QSize(200, 120), 10, QSize(32, 32));
        qApp->setStyleSheet(QStringLiteral("LoadingLabel { qproperty-imgBaseName: '%1';"
                                           " qproperty-imgCount: 12; qproperty-nInterval: 50; }")
                                .arg(framePicture("base")));
    }

    void cleanup()
    {
        QDir(downloadedIcon(QString())).removeRecursively();
        QDir(shippedIcon(QString())).removeRecursively();
        QFile::remove(brandFile());
        QFile::remove(framePicture("1000"));
        qApp->setStyleSheet(QString());
        TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), QStringLiteral("0"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void pages_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("before"); // applications of an earlier build
        QTest::addColumn<int>("appCount");
        QTest::addColumn<QString>("pages"); // the cards on each page
        QTest::addColumn<bool>("buttons");
        const auto row = [](const char* name, const QString& names, int before, int apps,
                             const char* pages, bool buttons) {
            QTest::newRow(name) << names << before << apps << QString(pages) << buttons;
        };
        row("four names, ten apps", kFourNames, 0, 10, "4 4 2", true);
        row("four names, four apps", kFourNames, 0, 4, "4", false);
        row("three names, four apps", "bg0.png*bg1.png*bg2.png", 0, 4, "3 1", false);
        row("empty middle name counts", "bg0.png**bg1.png", 0, 6, "3 3", true);
        row("no apps", kFourNames, 0, 0, "", false);
        // A rebuild replaces every page and never hides the buttons again.
        row("rebuilt with three", kFourNames, 10, 3, "3", true);
        row("rebuilt with none", kFourNames, 10, 0, "", true);
        row("no names: one bare card per page", "", 0, 3, "1 1 1", false);
    }

    // Each row also pages forward round the cards and back.
    void pages()
    {
        QFETCH(QString, names);
        QFETCH(int, before);
        QFETCH(int, appCount);
        QFETCH(QString, pages);
        ClickedStackedWidget pager(nullptr);
        if (before)
            build(pager, names, makeApps(before));
        build(pager, names, makeApps(appCount));

        QStringList counts;
        for (int i = 0; i < pagesOf(pager)->count(); ++i)
            counts << QString::number(cardsOn(pagesOf(pager)->widget(i)).size());
        QCOMPARE(counts.join(QLatin1Char(' ')), pages);
        QTEST(!pager.findChild<QToolButton*>(QStringLiteral("btnPre"))->isHidden()
                && !pager.findChild<QToolButton*>(QStringLiteral("btnNext"))->isHidden(),
            "buttons");
        QCOMPARE(pagesOf(pager)->currentIndex(), counts.isEmpty() ? -1 : 0);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error"))
                     .contains(QStringLiteral(
                         "ClickedStackedWidget FrameRecBg empty, one card per page")),
            names.isEmpty());
        if (appCount)
            QCOMPARE(
                pager.findChildren<RecFrame*>().first()->autoFillBackground(), !names.isEmpty());
        QList<int> visited;
        for (const char* name : { "btnNext", "btnNext", "btnNext", "btnPre", "btnPre", "btnPre" }) {
            pager.findChild<QToolButton*>(QLatin1String(name))->click();
            visited.append(pagesOf(pager)->currentIndex());
        }
        if (counts.size() == 3)
            QCOMPARE(visited, (QList<int> { 1, 2, 0, 2, 1, 0 }));
    }

    void zoom_data()
    {
        QTest::addColumn<QByteArray>("zoom");
        QTest::addColumn<QString>("noUserDpiChange");
        QTest::addColumn<QSize>("background");
        QTest::addColumn<QSize>("card");
        QTest::addColumn<QSize>("icon");
        QTest::addColumn<int>("gap");
        const auto row = [](const char* name, const char* zoom, const char* off, QSize background,
                             QSize card, QSize icon, int gap) {
            QTest::newRow(name) << QByteArray(zoom) << off << background << card << icon << gap;
        };
        row("1.5", "1.5", "0", { 200, 120 }, { 150, 90 }, { 24, 18 }, 31);
        // What a zoom of 1 gives.
        row("1.5 switched off", "1.5", "1", { 200, 120 }, { 100, 60 }, { 16, 12 }, 21);
        row("odd sizes round halves up", "1.25", "0", { 201, 121 }, { 126, 76 }, { 20, 15 }, 26);
    }

    void zoom()
    {
        QFETCH(QByteArray, zoom);
        QFETCH(QString, noUserDpiChange);
        QFETCH(QSize, background);
        QFETCH(QSize, card);
        qputenv("TERN_ZOOM_DPI", zoom);
        TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), noUserDpiChange);
        writePictures(background, 2, QSize(32, 24));
        ClickedStackedWidget pager(nullptr);
        build(pager, QStringLiteral("bg0.png*bg1.png"), makeApps(2));

        QLayout* row = pagesOf(pager)->widget(0)->layout(); // card, gap, card, gap, stretch
        const RecFrame* first = cardsOn(pagesOf(pager)->widget(0)).first();
        QCOMPARE(first->minimumSize(), card);
        QCOMPARE(first->maximumSize(), card);
        QTEST(iconOf(first).size(), "icon");
        QCOMPARE(row->count(), 5);
        QTEST(row->itemAt(1)->spacerItem()->sizeHint().width(), "gap");
        QTEST(row->itemAt(3)->spacerItem()->sizeHint().width(), "gap");
    }

    // A missing download falls back to the shipped icon; the Learn more button reports and opens
    // on every click.
    void cardIconsAndLinks()
    {
        TestEnv::clearAnalyticsEvents();
        QVERIFY(writePicture(downloadedIcon("fetched.png"), QSize(32, 32), Qt::red));
        QVERIFY(writePicture(shippedIcon("fetched.png"), QSize(32, 32), Qt::blue));
        QVERIFY(writePicture(shippedIcon("shipped.png"), QSize(32, 32), Qt::green));
        // Outside the download folder, where a hostile name would reach.
        QVERIFY(writePicture(downloadedIcon("../outside.png"), QSize(32, 32), Qt::yellow));
        ClickedStackedWidget pager(nullptr);
        build(pager, kFourNames,
            { { "fetched.png", "Fetched", "" }, { "shipped.png", "Shipped", "https://a.example/" },
                { "nowhere.png", "Nowhere", "" }, { "../outside.png", "Outside", "" } });

        const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(0));
        QCOMPARE(centreColour(iconOf(cards.at(0))), QColor(Qt::red));
        QCOMPARE(centreColour(iconOf(cards.at(1))), QColor(Qt::green));
        QVERIFY(iconOf(cards.at(2)).isNull() && iconOf(cards.at(3)).isNull());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            (QStringList { "recApp icon not exists:Shipped", "recApp icon not exists:Nowhere",
                "refused icon file name: ../outside.png" }));

        auto* button = cards.at(1)->findChild<QPushButton*>(QStringLiteral("btnRecUrl"));
        QTest::mouseClick(button, Qt::LeftButton);
        // The event names the card as it reads when clicked.
        cards.at(1)->setName(QStringLiteral("Renamed"));
        QTest::mouseClick(button, Qt::LeftButton);
        const QUrl link(QStringLiteral("https://a.example/"));
        QCOMPARE(m_browser.opened, (QList<QUrl> { link, link }));
        QCOMPARE(WizardRunner::analytics({ "category", "action", "label" }),
            (QStringList { "offload_retention|click_recommend_Shipped|",
                "offload_retention|click_recommend_Renamed|" }));
    }

    // The skin's sheet sets the pictures before the form is built, and empty values set later
    // are ignored rather than wiping them; on screen each card shows its background and icon.
    void screenshotShowsPicturesWhereTheyBelong()
    {
        writePictures(QSize(240, 260), 6, QSize(64, 64));
        qApp->setStyleSheet(
            QStringLiteral("ClickedStackedWidget { qproperty-FrameRecBg: '%1';"
                           " qproperty-SkinPath: '%2'; qproperty-recfrmSpacing: 15; }")
                .arg(kFourNames, skinPath()));
        ClickedStackedWidget pager(nullptr);
        QCOMPARE(pager.property("recfrmSpacing").toInt(), 15);
        build(pager, QString(), makeApps(6));
        pager.resize(640, 160);
        pager.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pager));

        const QImage image = pager.grab().toImage();
        const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->currentWidget());
        QCOMPARE(cards.size(), 4);
        for (int i = 0; i < cards.size(); ++i) {
            QCOMPARE(image.pixelColor(cards.at(i)->mapTo(&pager, QPoint(2, 2))),
                QColor(kBackgrounds.at(i)));
            const auto* icon = cards.at(i)->findChild<QLabel*>(QStringLiteral("recIcon"));
            QCOMPARE(image.pixelColor(icon->mapTo(&pager, icon->rect().center())), kIconColour);
        }
    }

    void brandTexts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("logged");
        const auto row = [](const char* name, const char* file, const QString& info,
                             const QString& user, bool logged = false) {
            QTest::newRow(name) << QByteArray(file) << info << user << logged;
        };
        row("counts fit",
            R"({"uninstall_page0": {"en": ["A", "B", "C"]}, "uninstall_page1": {"en": ["10M ", "fans"]}})",
            "A|B|C", "10M |fans");
        row("one page only", R"({"uninstall_page0": {"en": ["A", "B", "C"]}})", "A|B|C", kOwnUser);
        row("a number reads as empty text", R"({"uninstall_page0": {"en": ["A", 5, "C"]}})", "A||C",
            kOwnUser);
        row("one short",
            R"({"uninstall_page0": {"en": ["A", "B"]}, "uninstall_page1": {"en": ["10M "]}})",
            kOwnInfo, kOwnUser);
        row("one too many",
            R"({"uninstall_page0": {"en": ["A", "B", "C", "D"]}, "uninstall_page1": {"en": ["1", "2", "3"]}})",
            kOwnInfo, kOwnUser);
        row("another language only", R"({"uninstall_page0": {"de": ["A", "B", "C"]}})", kOwnInfo,
            kOwnUser);
        row("malformed file", R"({"uninstall_page0": {"en": ["A")", kOwnInfo, kOwnUser, true);
        row("no file", nullptr, kOwnInfo, kOwnUser, true);
    }

    void brandTexts()
    {
        QFETCH(QByteArray, file);
        if (!file.isNull())
            QVERIFY(TestEnv::writeFile(brandFile(), file));
        FrmInfo info(nullptr);
        FrmUser user(nullptr);
        QTEST(texts(info), "info");
        QTEST(texts(user), "user");
        QTEST(TestEnv::logMessages(QStringLiteral("read brand_recommend.json"))
                  .contains(QStringLiteral("parseJsonErr.error")),
            "logged");
    }

    // A language change translates the frames' own texts again, then applies the brand texts
    // of the new language: here the info frame's exist in English only, the user frame's in
    // German only.
    void languageChangeRetranslatesThenAppliesBrandTexts()
    {
        QVERIFY(TestEnv::writeFile(brandFile(),
            R"({"uninstall_page0": {"en": ["A", "B", "C"]},
                "uninstall_page1": {"de": ["10 Mio. ", "Fans"]}})"));
        FrmInfo info(nullptr);
        FrmUser user(nullptr);
        FrmInfo2 update(nullptr);

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("de"));
        QTRY_COMPARE(texts(info).section(QLatin1Char('|'), 0, 0), QStringLiteral("1000+ Formate"));
        QTRY_COMPARE(texts(user), QStringLiteral("10 Mio. |Fans"));

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QTRY_COMPARE(texts(info), QStringLiteral("A|B|C"));
        QTRY_COMPARE(texts(user), kOwnUser);
        QCOMPARE(texts(update).section(QLatin1Char('|'), 0, 0),
            QStringLiteral("More Powerful Features"));
    }

    // The still picture until started, then every frame of the skin's count, round again.
    void stillPictureThenFrames()
    {
        LoadingLabel label(nullptr);
        label.resize(40, 40);
        QCOMPARE(centreColour(label.grab()), baseColour);
        QCOMPARE(label.currentFrame(), 1000);
        // The idle overlay is one more numbered picture next to the base image.
        QVERIFY(writePicture(framePicture("1000"), QSize(24, 24), Qt::darkRed));
        QCOMPARE(centreColour(label.grab()), QColor(Qt::darkRed));

        label.startAnimation();
        QCOMPARE(centreColour(label.grab()), frameColour(0));
        QCOMPARE(label.currentFrame(), 0);
        for (int frame = 1; frame < 15; ++frame) {
            label.advanceFrame();
            QCOMPARE(label.currentFrame(), frame % 12);
        }
    }

    // Frames tick only when counted by the skin, at the interval the skin gave at construction.
    void ticking_data()
    {
        QTest::addColumn<QString>("setLater");
        QTest::addColumn<bool>("ticking"); // else the skin gives no count
        QTest::newRow("counted") << QString() << true;
        QTest::newRow("interval set later") << "interval" << true;
        QTest::newRow("no count") << QString() << false;
        QTest::newRow("count set later") << "count" << false;
    }

    void ticking()
    {
        QFETCH(QString, setLater);
        QFETCH(bool, ticking);
        if (!ticking)
            qApp->setStyleSheet(QStringLiteral("LoadingLabel { qproperty-nInterval: 0; }"));
        LoadingLabel label(nullptr);
        if (setLater == QLatin1String("count"))
            label.setImgCount(12);
        if (setLater == QLatin1String("interval"))
            label.setNInterval(3600000);
        label.startAnimation();
        QCOMPARE(label.isAnimating(), ticking);
        if (ticking)
            QTRY_COMPARE(label.currentFrame(), 3);
    }
};

UNINSTALL_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
