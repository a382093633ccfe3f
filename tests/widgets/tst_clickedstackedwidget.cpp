#include "testenvironment.h"
#include "testpictures.h"
#include "wizardrunner.h"

#include "content/recapp.h"
#include "widgets/clickedstackedwidget.h"
#include "widgets/recframe.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

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

} // namespace

class TestClickedStackedWidget : public QObject {
    Q_OBJECT

    QTemporaryDir m_pictures;
    UrlRecorder m_browser;

    QString skinPath() const { return m_pictures.path() + QStringLiteral("/skin/"); }

    void writePictures(const QSize& background, int icons, const QSize& icon)
    {
        for (int i = 0; i < kBackgrounds.size(); ++i)
            QVERIFY(TestPictures::write(skinPath() + QStringLiteral("bg%1.png").arg(i), background,
                QColor(kBackgrounds.at(i))));
        for (int i = 0; i < icons; ++i)
            QVERIFY(TestPictures::write(
                downloadedIcon(QStringLiteral("icon%1.png").arg(i)), icon, kIconColour));
    }

    void build(ClickedStackedWidget& pager, const QString& names, const QVector<RecApp>& apps)
    {
        pager.setProperty("SkinPath", names.isEmpty() ? QString() : skinPath());
        pager.setProperty("FrameRecBg", names);
        pager.setRecAppInfos(apps);
    }

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init()
    {
        qputenv("TERN_ZOOM_DPI", "1");
        writePictures(QSize(200, 120), 10, QSize(32, 32));
        TestEnv::clearLog();
    }

    void cleanup()
    {
        QDir(downloadedIcon(QString())).removeRecursively();
        QDir(shippedIcon(QString())).removeRecursively();
        qApp->setStyleSheet(QString());
        TestEnv::setExtendParam(QStringLiteral("NoUserDpiChange"), QStringLiteral("0"));
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
            << kFourNames << 0 << 10 << QList<int> { 4, 4, 2 } << true;
        QTest::newRow("four names, four apps") << kFourNames << 0 << 4 << QList<int> { 4 } << false;
        QTest::newRow("three names, four apps")
            << "bg0.png*bg1.png*bg2.png" << 0 << 4 << QList<int> { 3, 1 } << false;
        QTest::newRow("empty middle name counts")
            << "bg0.png**bg1.png" << 0 << 6 << QList<int> { 3, 3 } << true;
        QTest::newRow("no apps") << kFourNames << 0 << 0 << QList<int> {} << false;
        // A rebuild replaces every page and never hides the buttons again.
        QTest::newRow("rebuilt with three") << kFourNames << 10 << 3 << QList<int> { 3 } << true;
        QTest::newRow("rebuilt with none") << kFourNames << 10 << 0 << QList<int> {} << true;
        QTest::newRow("no names: one bare card per page")
            << "" << 0 << 3 << QList<int> { 1, 1, 1 } << false;
    }

    // Each row also pages forward round the cards and back.
    void pages()
    {
        QFETCH(QString, names);
        QFETCH(int, before);
        QFETCH(int, appCount);
        QFETCH(QList<int>, pages);
        ClickedStackedWidget pager(nullptr);
        if (before)
            build(pager, names, makeApps(before));
        build(pager, names, makeApps(appCount));

        QList<int> counts, visited;
        for (int i = 0; i < pagesOf(pager)->count(); ++i)
            counts.append(cardsOn(pagesOf(pager)->widget(i)).size());
        QCOMPARE(counts, pages);
        QTEST(!pager.findChild<QToolButton*>(QStringLiteral("btnPre"))->isHidden()
                && !pager.findChild<QToolButton*>(QStringLiteral("btnNext"))->isHidden(),
            "buttons");
        QCOMPARE(pagesOf(pager)->currentIndex(), pages.isEmpty() ? -1 : 0);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error"))
                     .contains(QStringLiteral(
                         "ClickedStackedWidget FrameRecBg empty, one card per page")),
            names.isEmpty());
        if (appCount)
            QCOMPARE(
                pager.findChildren<RecFrame*>().first()->autoFillBackground(), !names.isEmpty());
        for (const char* name : { "btnNext", "btnNext", "btnNext", "btnPre", "btnPre", "btnPre" }) {
            pager.findChild<QToolButton*>(QLatin1String(name))->click();
            visited.append(pagesOf(pager)->currentIndex());
        }
        if (pages.size() == 3)
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

    void missingDownloadedIconFallsBackToShippedOne()
    {
        QVERIFY(TestPictures::write(downloadedIcon("fetched.png"), QSize(32, 32), Qt::red));
        QVERIFY(TestPictures::write(shippedIcon("fetched.png"), QSize(32, 32), Qt::blue));
        QVERIFY(TestPictures::write(shippedIcon("shipped.png"), QSize(32, 32), Qt::green));
        // Outside the download folder, where a hostile name would reach.
        QVERIFY(TestPictures::write(downloadedIcon("../outside.png"), QSize(32, 32), Qt::yellow));
        ClickedStackedWidget pager(nullptr);
        build(pager, kFourNames,
            { { "fetched.png", "Fetched", "" }, { "shipped.png", "Shipped", "" },
                { "nowhere.png", "Nowhere", "" }, { "../outside.png", "Outside", "" } });

        const QList<RecFrame*> cards = cardsOn(pagesOf(pager)->widget(0));
        QCOMPARE(TestPictures::centreColour(iconOf(cards.at(0))), QColor(Qt::red));
        QCOMPARE(TestPictures::centreColour(iconOf(cards.at(1))), QColor(Qt::green));
        QVERIFY(iconOf(cards.at(2)).isNull() && iconOf(cards.at(3)).isNull());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            (QStringList { "recApp icon not exists:Shipped", "recApp icon not exists:Nowhere",
                "refused icon file name: ../outside.png" }));
    }

    void learnMoreReportsAndOpensOnEveryClick()
    {
        TestEnv::clearAnalyticsEvents();
        ClickedStackedWidget pager(nullptr);
        build(pager, kFourNames, makeApps(2));
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
            QCOMPARE(cards.at(i)->size(), QSize(120, 130));
            QCOMPARE(image.pixelColor(cards.at(i)->mapTo(&pager, QPoint(2, 2))),
                QColor(kBackgrounds.at(i)));
            const auto* icon = cards.at(i)->findChild<QLabel*>(QStringLiteral("recIcon"));
            QCOMPARE(image.pixelColor(icon->mapTo(&pager, icon->rect().center())), kIconColour);
        }
    }
};

UNINSTALL_TEST_MAIN(TestClickedStackedWidget)
#include "tst_clickedstackedwidget.moc"
