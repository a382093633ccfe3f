// The wizard window driven with real clicks: start-up state, style properties, the page
// machine, the drag guard and the ways out.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "removal/checkclosedlg.h"
#include "removal/filedeletionthread.h"
#include "wizard/uninstall.h"

#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

using namespace WizardRunner;

namespace {

const QString kSkin = QStringLiteral(
    "Uninstall { qproperty-textColor: '#111111*#222222'; qproperty-textWeight: '700*600'; "
    "qproperty-lineHeight: '150%'; qproperty-fontSize: 16; qproperty-fontWeight: 700; "
    "qproperty-clrTitleText: '#ff5a36'; qproperty-fontPurchaseSize: 22; }");

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
    UninstallContext m_context;

private slots:
    void initTestCase()
    {
        QVERIFY(TestEnv::writeFile(
            TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json"),
            R"({"en": "20"})"));
        setUpHost(&m_context);
    }

    void init()
    {
        qApp->setStyleSheet(kSkin);
        m_context.discount = 0;
        uninstallAborted = false;
        TernSingleInstance::instance()->forceRunState(0);
        TestEnv::clearLog();
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure the guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void startState_data()
    {
        QTest::addColumn<bool>("testMode");
        QTest::newRow("normal") << false;
        QTest::newRow("test mode") << true;
    }

    void startState()
    {
        QFETCH(bool, testMode);
        auto wizard = showWizard(testMode);
        QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        QCOMPARE(child<QLabel>(wizard.get(), "titleLab")->text(),
            QStringLiteral("Uninstall Tern Converter"));
        QCOMPARE(child<QLabel>(wizard.get(), "thinkLab")->text(),
            QStringLiteral("Thank you for your use and feedback. Uninstalling..."));
        QCOMPARE(child(wizard.get(), "btnComplete")->isHidden(), !testMode);
        QCOMPARE(child(wizard.get(), "changeLangFrame")->isHidden(), !testMode);
        QCOMPARE(child<QComboBox>(wizard.get(), "comboBox")->currentText(), QStringLiteral("en"));
        QVERIFY(child(wizard.get(), "purchaseBtn1")->isHidden());
        QVERIFY(!child(wizard.get(), "optionFrame")->isEnabled());
        QVERIFY(!child(wizard.get(), "btnContinue_2")->isEnabled());
        QVERIFY(!child(wizard.get(), "causeEdit")->isEnabled());
        auto* progress = child<QProgressBar>(wizard.get(), "progressBar");
        QCOMPARE(progress->value(), 0);
        QCOMPARE(progress->maximum(), Uninstall::getFileCount(QDir(TestEnv::installDir())));
        QCOMPARE(child(wizard.get(), "uninstall_Sticker1")->parentWidget(),
            child(wizard.get(), "purchaseBackground"));

        QTRY_COMPARE(where(wizard.get()), QStringLiteral("1.0 0"));
        QVERIFY(
            TestEnv::logMessages(QStringLiteral("debug")).contains(QStringLiteral("loading end!")));
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
        m_context.discount = hostDiscount;
        qApp->setStyleSheet(skin);
        auto wizard = showWizard(false);

        QCOMPARE(wizard->discount(), figure.toInt());
        const QString buyNow = child<QLabel>(wizard.get(), "purchaseBtn")->text();
        QVERIFY2(buyNow.contains(QStringLiteral(">") + figure + QStringLiteral("%</span> OFF")),
            qPrintable(buyNow));
        const QString offer = child<QLabel>(wizard.get(), "purchaseLab")->text();
        const QString tip = child<QLabel>(wizard.get(), "updateTipLab")->text();
        if (skin.isEmpty()) {
            QVERIFY(offer.isEmpty());
            QVERIFY(tip.contains(QStringLiteral("line-height: %1")));
            return;
        }
        QVERIFY2(
            offer.contains(QStringLiteral("font-size:22pt; font-weight:700; color:#111111;'>- ")
                + figure + QStringLiteral("% OFF")),
            qPrintable(offer));
        QVERIFY(offer.contains(QStringLiteral("line-height: 150%")));
        QVERIFY(tip.contains(QStringLiteral("line-height: 150%")));
        QVERIFY(buyNow.contains(QStringLiteral("font-size:16pt; font-weight:700; color:#ff5a36;")));
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
        auto wizard = showWizard(false);
        TestEnv::clearLog();
        wizard->setProperty("textColor", value);
        QCOMPARE(wizard->textColors(), colours);
        QCOMPARE(wizard->property("textColor").toString(), QString());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("debug"))
                     .contains(QStringLiteral("bind TextColor:") + value),
            !value.isEmpty());
    }

    void placementPass_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short thanks") << QStringLiteral("Thanks");
        QTest::newRow("long thanks") << QStringLiteral(
            "Thank you for your use and feedback, it helps us a lot. Uninstalling...");
    }

    void placementPass()
    {
        QFETCH(QString, text);
        auto wizard = showWizard(false);
        wizard->setProperty("textMinWidth", 300);
        wizard->setProperty("textFixWidth", 20);
        wizard->setProperty("pruchasePos", QSize(7, -3));
        auto* think = child<QLabel>(wizard.get(), "thinkLab");
        think->setText(text);
        wizard->grab();

        const int measured = QFontMetrics(think->font()).boundingRect(text).width();
        QCOMPARE(think->width(), measured >= 300 ? 300 : measured + 20);
        QWidget* frame = child(wizard.get(), "framePurchase");
        const QPoint corner = frame->mapTo(wizard.get(), QPoint(frame->width() - 1, 0));
        QCOMPARE(child(wizard.get(), "uninstall_Sticker1")->pos(), corner + QPoint(7, -3));
        QVERIFY(!child(wizard.get(), "frameHintLab")->isVisibleTo(wizard.get()));
        QVERIFY(!child(wizard.get(), "frameUpdateLab_2")->isVisibleTo(wizard.get()));
    }

    void walksEveryPageInTestMode()
    {
        auto wizard = showWizard(true);
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        QVERIFY(child(wizard.get(), "discountBg")->isVisible());
        click(wizard.get(), "btnContinue_3");
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 0"));
        QVERIFY(!wizard->firstReport().isEmpty());
        QVERIFY(child(wizard.get(), "btnClose")->isVisible());
        QCOMPARE(child<QProgressBar>(wizard.get(), "progressBar")->value(), 0);
        QVERIFY(!wizard->deletion()->isRunning());

        click(wizard.get(), "btnComplete");
        QVERIFY(wizard->isVisible());
        QCOMPARE(where(wizard.get()), QStringLiteral("3.1 1"));
        QVERIFY(!child(wizard.get(), "frameBar")->isVisible());
        QCOMPARE(child<QLabel>(wizard.get(), "thinkLab")->text(),
            QStringLiteral("Uninstallation completed! Looking forward to seeing you again!"));

        QVERIFY(quitsOn([&] { click(wizard.get(), "btnClose"); }));
        QVERIFY(wizard->secondReport().isEmpty());
        QVERIFY(!uninstallAborted);
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
    }

    void runningApplicationHoldsTheUpdateOffer()
    {
        auto wizard = showWizard(false);
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        TernSingleInstance::instance()->forceRunState(15);
        click(wizard.get(), "btnContinue_3");
        QCOMPARE(where(wizard.get()), QStringLiteral("2.1 0"));
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(wizard->firstReport().isEmpty());
        dialog->hide();
    }

    // Every handler ignores the release that ends a drag, and works again afterwards.
    void dragGuard_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("button");
        QTest::newRow("continue") << int(Home) << QStringLiteral("btnContinue_1");
        QTest::newRow("cancel") << int(Home) << QStringLiteral("btnCancel_1");
        QTest::newRow("title bar close") << int(Reason) << QStringLiteral("btnClose");
        QTest::newRow("upgrade now") << int(UpdateOffer) << QStringLiteral("btnUpdate");
        QTest::newRow("done") << int(Uninstalling) << QStringLiteral("btnComplete");
    }

    void dragGuard()
    {
        QFETCH(int, page);
        QFETCH(QString, button);
        auto wizard = showWizard(true);
        QVERIFY(walkTo(wizard.get(), Page(page)));
        const QString before = where(wizard.get());
        auto* target = child<QAbstractButton>(wizard.get(), qPrintable(button));
        startDragging(wizard.get());
        QVERIFY(wizard->isDragging());
        QVERIFY(!quitsOn([target] { target->click(); }, 300));
        QCOMPARE(where(wizard.get()), before);
        QVERIFY(!uninstallAborted);

        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(wizard.get(), &release);
        QVERIFY(!wizard->isDragging());
        QVERIFY(quitsOn([target] { target->click(); }, 300) || where(wizard.get()) != before);
    }

    void closesEarly_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("button");
        QTest::newRow("home, cancel") << int(Home) << QStringLiteral("btnCancel_1");
        QTest::newRow("home, title bar") << int(Home) << QStringLiteral("btnClose");
        QTest::newRow("reason, cancel") << int(Reason) << QStringLiteral("btnCancel_2");
        QTest::newRow("update offer, cancel") << int(UpdateOffer) << QStringLiteral("btnCancel_3");
    }

    void closesEarly()
    {
        QFETCH(int, page);
        QFETCH(QString, button);
        auto wizard = showWizard(false);
        QVERIFY(walkTo(wizard.get(), Page(page)));
        QVERIFY(
            quitsOn([&] { child<QAbstractButton>(wizard.get(), qPrintable(button))->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
    }

    void languageChoiceEndsTheWizard()
    {
        auto wizard = showWizard(true);
        QVERIFY(quitsOn([&] { child<QComboBox>(wizard.get(), "comboBox")->setCurrentIndex(1); }));
        QVERIFY(uninstallAborted);
        QCOMPARE(TernSettings::instance()->language(QStringLiteral("en")), QStringLiteral("de"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
    }
};

UNINSTALL_TEST_MAIN(TestUninstall)
#include "tst_uninstall.moc"
