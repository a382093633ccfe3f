// The small widgets of the window: the feature frames' brand texts, which follow a language
// change; the loading label's frames; the suggestion box's hint, which steps aside while the
// user writes.

#include "testenvironment.h"
#include "testpictures.h"

#include "widgets/customtextedit.h"
#include "widgets/frminfo.h"
#include "widgets/frminfo2.h"
#include "widgets/frmuser.h"
#include "widgets/loadinglabel.h"

#include "ternresourcemgr.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {

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

    QString framePicture(const QString& name) const
    {
        return m_pictures.path() + QStringLiteral("/loading/%1.png").arg(name);
    }

private slots:
    void initTestCase()
    {
        TestEnv::useWizardLog();
        QVERIFY(TestPictures::write(framePicture("base"), QSize(24, 24), baseColour));
        for (int frame = 0; frame < 12; ++frame)
            QVERIFY(TestPictures::write(
                framePicture(QString::number(frame)), QSize(24, 24), frameColour(frame)));
    }

    void init()
    {
        TestEnv::clearLog();
        qApp->setStyleSheet(QStringLiteral("LoadingLabel { qproperty-imgBaseName: '%1';"
                                           " qproperty-imgCount: 12; qproperty-nInterval: 50; }")
                                .arg(framePicture("base")));
    }

    void cleanup()
    {
        QFile::remove(brandFile());
        QFile::remove(framePicture("1000"));
        qApp->setStyleSheet(QString());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
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
        QCOMPARE(texts(info), QStringLiteral("A|B|C"));
        QCOMPARE(texts(user), kOwnUser);

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("de"));
        const QString german = QCoreApplication::translate("FrmInfo", "1000+ Formats Supported");
        QVERIFY(german != kOwnInfo.section(QLatin1Char('|'), 0, 0));
        QTRY_COMPARE(texts(info).section(QLatin1Char('|'), 0, 0), german);
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
        QCOMPARE(TestPictures::centreColour(label.grab()), baseColour);
        QCOMPARE(label.currentFrame(), 1000);
        // The idle overlay is one more numbered picture next to the base image.
        QVERIFY(TestPictures::write(framePicture("1000"), QSize(24, 24), Qt::darkRed));
        QCOMPARE(TestPictures::centreColour(label.grab()), QColor(Qt::darkRed));

        label.startAnimation();
        QCOMPARE(TestPictures::centreColour(label.grab()), frameColour(0));
        QList<int> frames { label.currentFrame() };
        for (int i = 0; i < 14; ++i) {
            label.advanceFrame();
            frames << label.currentFrame();
        }
        QCOMPARE(frames, (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2 }));
    }

    // Frames tick only when counted by the skin, at the interval the skin gave at construction.
    void ticking_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("setLater");
        QTest::addColumn<bool>("ticking");
        QTest::newRow("counted") << QString() << QString() << true;
        QTest::newRow("interval set later") << QString() << "interval" << true;
        QTest::newRow("no count") << "LoadingLabel { qproperty-nInterval: 0; }" << QString()
                                  << false;
        QTest::newRow("count set later") << "LoadingLabel { qproperty-nInterval: 0; }"
                                         << "count" << false;
    }

    void ticking()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, setLater);
        QFETCH(bool, ticking);
        if (!sheet.isEmpty())
            qApp->setStyleSheet(sheet);
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

    void hintStepsAsideWhileClickedIn_data()
    {
        // Ways in: "c" a click into the editor, "t" a tab from the line edit before it.
        QTest::addColumn<QString>("entries");
        QTest::addColumn<bool>("leaveByTab");
        QTest::addColumn<bool>("hintInside");

        QTest::newRow("click in, click elsewhere") << "c" << false << false;
        QTest::newRow("click in, tab out") << "c" << true << false;
        QTest::newRow("tab in, tab out") << "t" << true << true;
        QTest::newRow("tab in, click, click elsewhere") << "tc" << false << false;
    }

    void hintStepsAsideWhileClickedIn()
    {
        QFETCH(QString, entries);
        QFETCH(bool, leaveByTab);
        QFETCH(bool, hintInside);

        const QString hint
            = QStringLiteral("Please leave your suggestions or questions (optional)");
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* other = new QLineEdit(&window);
        auto* editor = new CustomTextEdit(&window);
        layout->addWidget(other);
        layout->addWidget(editor);
        editor->setPlaceholderText(hint);
        editor->setTabChangesFocus(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());

        for (const QChar entry : entries) {
            if (entry == QLatin1Char('c'))
                QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            else
                QTest::keyClick(other, Qt::Key_Tab);
            QTRY_VERIFY(editor->hasFocus());
        }
        QCOMPARE(editor->placeholderText(), hintInside ? hint : QString());

        if (leaveByTab)
            QTest::keyClick(editor, Qt::Key_Tab);
        else
            QTest::mouseClick(other, Qt::LeftButton);
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(editor->placeholderText(), hint);
    }
};

UNINSTALL_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
