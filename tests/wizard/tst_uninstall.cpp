// The wizard window driven with real clicks: start-up state, style properties, the page
// machine, the drag guard and the ways out.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "entry/uninstallsingleinstance.h"
#include "removal/checkclosedlg.h"
#include "removal/filedeletionthread.h"
#include "wizard/uninstall.h"

#include "ternlog.h"
#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kSkin = QStringLiteral(
    "Uninstall { qproperty-textColor: '#111111*#222222'; qproperty-textWeight: '700*600'; "
    "qproperty-lineHeight: '150%'; qproperty-fontSize: 16; qproperty-fontWeight: 700; "
    "qproperty-clrTitleText: '#ff5a36'; qproperty-fontPurchaseSize: 22; }");

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

int currentPage(QWidget* window)
{
    return child<QStackedWidget>(window, "processPage")->currentIndex();
}

int currentCausePage(QWidget* window)
{
    return child<QStackedWidget>(window, "causePage_2")->currentIndex();
}

QStringList actions()
{
    QStringList result;
    const QList<QJsonObject> events = TestEnv::analyticsEvents();
    for (const QJsonObject& event : events) {
        result.append(event.value(QStringLiteral("action")).toString() + QLatin1Char('|')
            + event.value(QStringLiteral("label")).toString());
    }
    return result;
}

void click(QWidget* window, const char* name)
{
    QWidget* button = child(window, name);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestUninstall : public QObject {
    Q_OBJECT

private:
    UninstallContext* m_context = nullptr;

    std::unique_ptr<Uninstall> makeWizard(bool testMode)
    {
        TestEnv::setExtendParam(
            QStringLiteral("uninstallTest"), testMode ? QStringLiteral("1") : QStringLiteral("0"));
        auto wizard = std::make_unique<Uninstall>();
        wizard->show();
        return wizard;
    }

    void deliverCauses(Uninstall* wizard, bool exclusive)
    {
        emit wizard->contentProfile()->uninstallCauseEmit(exclusive,
            { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                QStringLiteral("e") },
            { { QStringLiteral("a"), QStringLiteral("Too slow") },
                { QStringLiteral("c"), QStringLiteral("Too dear") } },
            QStringLiteral("50 million"));
    }

    void walkToUpdateOffer(Uninstall* wizard)
    {
        QTRY_COMPARE(currentPage(wizard), 1);
        click(wizard, "btnContinue_1");
        QCOMPARE(currentPage(wizard), 2);
        QCOMPARE(currentCausePage(wizard), 0);
        deliverCauses(wizard, false);
        child<QCheckBox>(wizard, "c")->click();
        click(wizard, "btnContinue_2");
        QCOMPARE(currentCausePage(wizard), 1);
    }

private slots:
    void initTestCase()
    {
        SetLogfile(
            (TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
        SetLogLevel(1);
        QVERIFY(TestEnv::writeFile(
            TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json"),
            R"({"en": "20"})"));
        m_context = new UninstallContext;
        UninstallRegMgr::init()->setRegContext(m_context);
    }

    void init()
    {
        qApp->setStyleSheet(kSkin);
        m_context->discount = 0;
        uninstallAborted = false;
        TernSingleInstance::instance()->forceRunState(0);
        TestEnv::clearAnalyticsEvents();
        TestEnv::clearLog();
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure the guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void startsOnTheLoadingPage()
    {
        auto wizard = makeWizard(false);
        QCOMPARE(currentPage(wizard.get()), 0);
        QCOMPARE(currentCausePage(wizard.get()), 0);
        QCOMPARE(child<QLabel>(wizard.get(), "titleLab")->text(),
            QStringLiteral("Uninstall Tern Converter"));
        QCOMPARE(child<QLabel>(wizard.get(), "thinkLab")->text(),
            QStringLiteral("Thank you for your use and feedback. Uninstalling..."));
        QVERIFY(child(wizard.get(), "btnComplete")->isHidden());
        QVERIFY(child(wizard.get(), "changeLangFrame")->isHidden());
        QVERIFY(child(wizard.get(), "frameEmail")->isHidden());
        QVERIFY(child(wizard.get(), "purchaseBtn1")->isHidden());
        QVERIFY(!child(wizard.get(), "optionFrame")->isEnabled());
        QVERIFY(!child(wizard.get(), "btnContinue_2")->isEnabled());
        QVERIFY(!child(wizard.get(), "causeEdit")->isEnabled());
        QCOMPARE(child<QProgressBar>(wizard.get(), "progressBar")->value(), 0);
        QCOMPARE(child<QProgressBar>(wizard.get(), "progressBar")->maximum(),
            Uninstall::getFileCount(QDir(TestEnv::installDir())));
        QLabel* sticker = child<QLabel>(wizard.get(), "uninstall_Sticker1");
        QCOMPARE(sticker->parentWidget(), child(wizard.get(), "purchaseBackground"));
        QCOMPARE(actions(), QStringList { QStringLiteral("show_start|") });

        QTRY_COMPARE(currentPage(wizard.get()), 1);
        QVERIFY(
            TestEnv::logMessages(QStringLiteral("debug")).contains(QStringLiteral("loading end!")));
    }

    void testModeShowsDoneAndLanguages()
    {
        auto wizard = makeWizard(true);
        QVERIFY(!child(wizard.get(), "btnComplete")->isHidden());
        QVERIFY(!child(wizard.get(), "changeLangFrame")->isHidden());
        QCOMPARE(child<QComboBox>(wizard.get(), "comboBox")->currentText(), QStringLiteral("en"));
    }

    void discount_data()
    {
        QTest::addColumn<int>("hostDiscount");
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("figure");
        QTest::newRow("price file") << 0 << kSkin << QStringLiteral("20");
        QTest::newRow("host discount wins") << 25 << kSkin << QStringLiteral("25");
        QTest::newRow("no style lists") << 0 << QString() << QStringLiteral("20");
    }

    void discount()
    {
        QFETCH(int, hostDiscount);
        QFETCH(QString, skin);
        QFETCH(QString, figure);
        m_context->discount = hostDiscount;
        qApp->setStyleSheet(skin);
        auto wizard = makeWizard(false);

        QCOMPARE(wizard->discount(), figure.toInt());
        const QString buyNow = child<QLabel>(wizard.get(), "purchaseBtn")->text();
        QVERIFY2(buyNow.contains(QStringLiteral(">") + figure + QStringLiteral("%</span> OFF")),
            qPrintable(buyNow));
        const QString offer = child<QLabel>(wizard.get(), "purchaseLab")->text();
        const QString tip = child<QLabel>(wizard.get(), "updateTipLab")->text();
        if (skin.isEmpty()) {
            QVERIFY(offer.isEmpty());
            QVERIFY(tip.contains(QStringLiteral("line-height: %1")));
        } else {
            QVERIFY2(
                offer.contains(QStringLiteral("font-size:22pt; font-weight:700; color:#111111;'>- ")
                    + figure + QStringLiteral("% OFF")),
                qPrintable(offer));
            QVERIFY(offer.contains(QStringLiteral("line-height: 150%")));
            QVERIFY(tip.contains(QStringLiteral("line-height: 150%")));
            QVERIFY(
                buyNow.contains(QStringLiteral("font-size:16pt; font-weight:700; color:#ff5a36;")));
        }
    }

    void styleLists_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("colours");
        QTest::newRow("two colours") << QStringLiteral("#a*#b")
                                     << QStringList { QStringLiteral("#a"), QStringLiteral("#b") };
        QTest::newRow("empty parts kept")
            << QStringLiteral("#a**") << QStringList { QStringLiteral("#a"), QString(), QString() };
        QTest::newRow("empty value ignored")
            << QString() << QStringList { QStringLiteral("#111111"), QStringLiteral("#222222") };
    }

    void styleLists()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, colours);
        auto wizard = makeWizard(false);
        TestEnv::clearLog();
        wizard->setProperty("textColor", value);
        QCOMPARE(wizard->textColors(), colours);
        QCOMPARE(wizard->property("textColor").toString(), QString());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("debug"))
                     .contains(QStringLiteral("bind TextColor:") + value),
            !value.isEmpty());
    }

    void thankYouWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short text") << QStringLiteral("Thanks");
        QTest::newRow("long text") << QStringLiteral(
            "Thank you for your use and feedback, it helps us a lot. Uninstalling...");
    }

    void thankYouWidth()
    {
        QFETCH(QString, text);
        auto wizard = makeWizard(false);
        wizard->setProperty("textMinWidth", 300);
        wizard->setProperty("textFixWidth", 20);
        QLabel* think = child<QLabel>(wizard.get(), "thinkLab");
        think->setText(text);
        wizard->grab();
        const int measured = QFontMetrics(think->font()).boundingRect(text).width();
        QCOMPARE(think->width(), measured >= 300 ? 300 : measured + 20);
    }

    void placementPass()
    {
        auto wizard = makeWizard(false);
        wizard->setProperty("pruchasePos", QSize(7, -3));
        wizard->setProperty("frmUserPos", QSize(5, 9));
        wizard->grab();
        QWidget* frame = child(wizard.get(), "framePurchase");
        const QPoint corner = frame->mapTo(wizard.get(), QPoint(frame->width() - 1, 0));
        QCOMPARE(child(wizard.get(), "uninstall_Sticker1")->pos(), corner + QPoint(7, -3));
        QVERIFY(!child(wizard.get(), "frameHintLab")->isVisibleTo(wizard.get()));
        QVERIFY(!child(wizard.get(), "frameUpdateLab_2")->isVisibleTo(wizard.get()));
    }

    void walksEveryPageInTestMode()
    {
        auto wizard = makeWizard(true);
        walkToUpdateOffer(wizard.get());
        QVERIFY(child(wizard.get(), "discountBg")->isVisible());
        click(wizard.get(), "btnContinue_3");
        QCOMPARE(currentPage(wizard.get()), 3);
        QVERIFY(!wizard->firstReport().isEmpty());
        QVERIFY(child(wizard.get(), "btnComplete")->isVisible());
        QVERIFY(child(wizard.get(), "btnClose")->isVisible());
        QCOMPARE(child<QProgressBar>(wizard.get(), "progressBar")->value(), 0);
        QVERIFY(!wizard->deletion()->isRunning());

        click(wizard.get(), "btnComplete");
        QVERIFY(wizard->isVisible());
        QVERIFY(child(wizard.get(), "frameEmail")->isVisible());
        QVERIFY(!child(wizard.get(), "frameBar")->isVisible());
        QCOMPARE(child<QLabel>(wizard.get(), "thinkLab")->text(),
            QStringLiteral("Uninstallation completed! Looking forward to seeing you again!"));

        QVERIFY(WizardRunner::quitsOn([&] { click(wizard.get(), "btnClose"); }));
        QVERIFY(wizard->secondReport().isEmpty());
        QVERIFY(!uninstallAborted);
        QCOMPARE(actions(),
            (QStringList { QStringLiteral("show_start|"), QStringLiteral("btn_continue_homepage|"),
                QStringLiteral("btn_continue_reason|"), QStringLiteral("btn_continue_update|"),
                QStringLiteral("btn_done|"), QStringLiteral("show_end|done") }));
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
    }

    void runningApplicationHoldsTheUpdateOffer()
    {
        auto wizard = makeWizard(false);
        walkToUpdateOffer(wizard.get());
        TernSingleInstance::instance()->forceRunState(15);
        click(wizard.get(), "btnContinue_3");
        QCOMPARE(currentPage(wizard.get()), 2);
        QCOMPARE(currentCausePage(wizard.get()), 1);
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(wizard->firstReport().isEmpty());
        dialog->hide();
    }

    void dragGuard()
    {
        auto wizard = makeWizard(false);
        QTRY_COMPARE(currentPage(wizard.get()), 1);
        QMouseEvent move(
            QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(wizard.get(), &move);
        QVERIFY(wizard->isDragging());
        child<QPushButton>(wizard.get(), "btnContinue_1")->click();
        QCOMPARE(currentPage(wizard.get()), 1);
        QVERIFY(!WizardRunner::quitsOn(
            [&] { child<QPushButton>(wizard.get(), "btnCancel_1")->click(); }, 500));
        QVERIFY(!uninstallAborted);

        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(wizard.get(), &release);
        QVERIFY(!wizard->isDragging());
        child<QPushButton>(wizard.get(), "btnContinue_1")->click();
        QCOMPARE(currentPage(wizard.get()), 2);
    }

    void closesEarly_data()
    {
        QTest::addColumn<int>("pagesForward");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("label");
        QTest::newRow("home, cancel")
            << 0 << QStringLiteral("btnCancel_1") << QStringLiteral("homepage");
        QTest::newRow("home, title bar")
            << 0 << QStringLiteral("btnClose") << QStringLiteral("homepage");
        QTest::newRow("reason, cancel")
            << 1 << QStringLiteral("btnCancel_2") << QStringLiteral("reason");
        QTest::newRow("update offer, cancel")
            << 2 << QStringLiteral("btnCancel_3") << QStringLiteral("update");
    }

    void closesEarly()
    {
        QFETCH(int, pagesForward);
        QFETCH(QString, button);
        QFETCH(QString, label);
        auto wizard = makeWizard(false);
        if (pagesForward == 2) {
            walkToUpdateOffer(wizard.get());
        } else {
            QTRY_COMPARE(currentPage(wizard.get()), 1);
            if (pagesForward == 1)
                click(wizard.get(), "btnContinue_1");
        }
        QVERIFY(WizardRunner::quitsOn(
            [&] { child<QAbstractButton>(wizard.get(), qPrintable(button))->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
        QCOMPARE(actions().last(), QStringLiteral("show_end|") + label);
    }

    void languageChoiceEndsTheWizard()
    {
        auto wizard = makeWizard(true);
        QVERIFY(WizardRunner::quitsOn(
            [&] { child<QComboBox>(wizard.get(), "comboBox")->setCurrentIndex(1); }));
        QVERIFY(uninstallAborted);
        QCOMPARE(TernSettings::instance()->language(QStringLiteral("en")), QStringLiteral("de"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
    }
};

UNINSTALL_TEST_MAIN(TestUninstall)
#include "tst_uninstall.moc"
