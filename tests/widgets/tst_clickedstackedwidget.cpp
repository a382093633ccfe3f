#include "testenvironment.h"
#include "testpictures.h"
#include "wizardrunner.h"

#include "content/recapp.h"
#include "widgets/clickedstackedwidget.h"
#include "widgets/recframe.h"

#include "ternlog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QStringList backgroundColours { "#c0392b", "#27ae60", "#2980b9", "#8e44ad" };
const QString fourNames = QStringLiteral("bg0.png*bg1.png*bg2.png*bg3.png");
const QColor iconColour("#f1c40f");

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

QList<int> cardsPerPage(const ClickedStackedWidget& pager)
{
    QList<int> counts;
    for (int i = 0; i < pagesOf(pager)->count(); ++i)
        counts.append(cardsOn(pagesOf(pager)->widget(i)).size());
    return counts;
}

bool buttonsShown(const ClickedStackedWidget& pager)
{
    return !pager.findChild<QToolButton*>(QStringLiteral("btnPre"))->isHidden()
        && !pager.findChild<QToolButton*>(QStringLiteral("btnNext"))->isHidden();
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

} // namespace

class TestClickedStackedWidget : public QObject {
    Q_OBJECT

private:
    QString skinPath() const { return pictures->path() + QStringLiteral("/skin/"); }

    void writePictures(const QSize& background, int icons, const QSize& icon)
    {
        for (int i = 0; i < backgroundColours.size(); ++i) {
            QVERIFY(TestPictures::write(skinPath() + QStringLiteral("bg%1.png").arg(i), background,
                QColor(backgroundColours.at(i))));
        }
        for (int i = 0; i < icons; ++i) {
            QVERIFY(TestPictures::write(
                downloadedIcon(QStringLiteral("icon%1.png").arg(i)), icon, iconColour));
        }
    }

    void build(ClickedStackedWidget& pager, const QString& names, const QVector<RecApp>& apps)
    {
        pager.setProperty("SkinPath", names.isEmpty() ? QString() : skinPath());
        pager.setProperty("FrameRecBg", names);
        pager.setRecAppInfos(apps);
    }

    std::unique_ptr<QTemporaryDir> pictures;
    UrlRecorder m_browser;

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init()
    {
        qputenv("TERN_ZOOM_DPI", "1");
        pictures = std::make_unique<QTemporaryDir>();
        QVERIFY(pictures->isValid());
        writePictures(QSize(200, 120), 10, QSize(32, 32));
        TestEnv::clearLog();
        TestEnv::clearAnalyticsEvents();
        m_browser.opened.clear();
    }

    void cleanup()
    {
        pictures.reset();
        QDir(downloadedIcon(QString())).removeRecursively();
        QDir(shippedIcon(QString())).removeRecursively();
        qApp->setStyleSheet(QString());
        TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), QStringLiteral("0"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void pages_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("before"); // applications of an earlier build
        QTest::addColumn<int>("appCount");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<bool>("buttons");

        QTest::newRow("four names, ten apps")
            << fourNames << 0 << 10 << QList<int> { 4, 4, 2 } << true;
        QTest::newRow("four names, four apps") << fourNames << 0 << 4 << QList<int> { 4 } << false;
        QTest::newRow("three names, four apps")
            << "bg0.png*bg1.png*bg2.png" << 0 << 4 << QList<int> { 3, 1 } << false;
        QTest::newRow("empty middle name counts")
            << "bg0.png**bg1.png" << 0 << 6 << QList<int> { 3, 3 } << true;
        QTest::newRow("no apps") << fourNames << 0 << 0 << QList<int> {} << false;
        // A rebuild replaces every page and never hides the buttons again.
        QTest::newRow("rebuilt with three") << fourNames << 10 << 3 << QList<int> { 3 } << true;
        QTest::newRow("rebuilt with none") << fourNames << 10 << 0 << QList<int> {} << true;
        QTest::newRow("no names: one bare card per page")
            << "" << 0 << 3 << QList<int> { 1, 1, 1 } << false;
    }

    void pages()
    {
        QFETCH(QString, names);
        QFETCH(int, before);
        QFETCH(int, appCount);
        QFETCH(QList<int>, pages);
        QFETCH(bool, buttons);

        ClickedStackedWidget pager(nullptr);
        if (before)
            build(pager, names, makeApps(before));
        build(pager, names, makeApps(appCount));

        QCOMPARE(cardsPerPage(pager), pages);
        QCOMPARE(buttonsShown(pager), buttons);
        QCOMPARE(pagesOf(pager)->currentIndex(), pages.isEmpty() ? -1 : 0);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error"))
                     .contains(QStringLiteral(
                         "ClickedStackedWidget FrameRecBg empty, one card per page")),
            names.isEmpty());
        if (appCount)
            QCOMPARE(
                pager.findChildren<RecFrame*>().first()->autoFillBackground(), !names.isEmpty());
    }

    void pagingWrapsAround()
    {
        ClickedStackedWidget pager(nullptr);
        build(pager, fourNames, makeApps(10));
        QList<int> visited;
        for (const char* name : { "btnNext", "btnNext", "btnNext", "btnPre", "btnPre", "btnPre" }) {
            pager.findChild<QToolButton*>(QLatin1String(name))->click();
            visited.append(pagesOf(pager)->currentIndex());
        }
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

        QTest::newRow("1") << QByteArray("1") << "0" << QSize(200, 120) << QSize(100, 60)
                           << QSize(16, 12) << 21;
        QTest::newRow("1.5") << QByteArray("1.5") << "0" << QSize(200, 120) << QSize(150, 90)
                             << QSize(24, 18) << 31;
        QTest::newRow("1.5 switched off")
            << QByteArray("1.5") << "1" << QSize(200, 120) << QSize(100, 60) << QSize(16, 12) << 21;
        QTest::newRow("odd sizes round halves up") << QByteArray("1.25") << "0" << QSize(201, 121)
                                                   << QSize(126, 76) << QSize(20, 15) << 26;
    }

    void zoom()
    {
        QFETCH(QByteArray, zoom);
        QFETCH(QString, noUserDpiChange);
        QFETCH(QSize, background);
        QFETCH(QSize, card);
        QFETCH(QSize, icon);
        QFETCH(int, gap);

        qputenv("TERN_ZOOM_DPI", zoom);
        TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), noUserDpiChange);
        writePictures(background, 2, QSize(32, 24));
        ClickedStackedWidget pager(nullptr);
        build(pager, QStringLiteral("bg0.png*bg1.png"), makeApps(2));

        QWidget* page = pagesOf(pager)->widget(0);
        const RecFrame* first = cardsOn(page).first();
        QCOMPARE(first->minimumSize(), card);
        QCOMPARE(first->maximumSize(), card);
        QCOMPARE(iconOf(first).size(), icon);
        // Card, gap, card, gap, stretch.
        QLayout* row = page->layout();
        QCOMPARE(row->count(), 5);
        QCOMPARE(row->itemAt(1)->spacerItem()->sizeHint().width(), gap);
        QCOMPARE(row->itemAt(3)->spacerItem()->sizeHint().width(), gap);
        QCOMPARE(row->itemAt(4)->spacerItem()->expandingDirections(), Qt::Horizontal);
    }

    void missingDownloadedIconFallsBackToShippedOne()
    {
        QVERIFY(TestPictures::write(downloadedIcon("fetched.png"), QSize(32, 32), Qt::red));
        QVERIFY(TestPictures::write(shippedIcon("fetched.png"), QSize(32, 32), Qt::blue));
        QVERIFY(TestPictures::write(shippedIcon("shipped.png"), QSize(32, 32), Qt::green));
        // Outside the download folder, where a hostile name would reach.
        QVERIFY(TestPictures::write(downloadedIcon("../outside.png"), QSize(32, 32), Qt::yellow));
        ClickedStackedWidget pager(nullptr);
        build(pager, fourNames,
            { { "fetched.png", "Fetched", "" }, { "shipped.png", "Shipped", "" },
                { "nowhere.png", "Nowhere", "" }, { "../outside.png", "Outside", "" } });

        const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(0));
        QCOMPARE(TestPictures::centreColour(iconOf(cards.at(0))), QColor(Qt::red));
        QCOMPARE(TestPictures::centreColour(iconOf(cards.at(1))), QColor(Qt::green));
        QVERIFY(iconOf(cards.at(2)).isNull());
        QVERIFY(iconOf(cards.at(3)).isNull());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            (QStringList { "recApp icon not exists:Shipped", "recApp icon not exists:Nowhere",
                "refused icon file name: ../outside.png" }));
    }

    void learnMoreReportsAndOpensOnEveryClick()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
        ClickedStackedWidget pager(nullptr);
        build(pager, fourNames, makeApps(2));
        RecFrame* card = cardsOn(pagesOf(pager)->widget(0)).at(1);
        auto* button = card->findChild<QPushButton*>(QStringLiteral("btnRecUrl"));

        QTest::mouseClick(button, Qt::LeftButton);
        // The event names the card as it reads when clicked.
        card->setName(QStringLiteral("Renamed"));
        QTest::mouseClick(button, Qt::LeftButton);

        const QUrl link(QStringLiteral("https://www.example.com/app1"));
        QCOMPARE(m_browser.opened, (QList<QUrl> { link, link }));
        QCOMPARE(WizardRunner::analytics({ "category", "action", "label" }),
            (QStringList { "offload_retention|click_recommend_App 1|",
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
                .arg(fourNames, skinPath()));
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
            QCOMPARE(cards.at(i)->size(), QSize(120, 130));
            QCOMPARE(image.pixelColor(cards.at(i)->mapTo(&pager, QPoint(2, 2))),
                QColor(backgroundColours.at(i)));
            const auto* icon = cards.at(i)->findChild<QLabel*>(QStringLiteral("recIcon"));
            QCOMPARE(image.pixelColor(icon->mapTo(&pager, icon->rect().center())), iconColour);
        }
    }
};

UNINSTALL_TEST_MAIN(TestClickedStackedWidget)
#include "tst_clickedstackedwidget.moc"
