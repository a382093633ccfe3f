// The window's side of the reports, in this process: the first report on entering the
// uninstalling page, and closes that end the wizard at once without a second one.

#include "httptestserver.h"
#include "reportexpectations.h"
#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/uninstallaborted.h"
#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "ternlog.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

const QString kPath = QStringLiteral("/feedback");

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

void click(QWidget* window, const char* name)
{
    QWidget* button = child(window, name);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestUninstallReports : public QObject {
    Q_OBJECT

private:
    HttpTestServer m_server;

    std::unique_ptr<Uninstall> makeWizard(bool testMode)
    {
        TestEnv::updateProduct({},
            QJsonObject { { QStringLiteral("uninstallTest"),
                              testMode ? QStringLiteral("1") : QStringLiteral("0") },
                { QStringLiteral("uninstallReportUrl"), m_server.address(kPath) } });
        auto wizard = std::make_unique<Uninstall>();
        wizard->show();
        return wizard;
    }

    // Home page, then the reason page with the shipped causes: "price" ticked, a note typed.
    void walkToUpdateOffer(Uninstall* wizard, const QString& note)
    {
        QTRY_COMPARE(currentPage(wizard), 1);
        click(wizard, "btnContinue_1");
        child<QCheckBox>(wizard, "price")->click();
        child<QTextEdit>(wizard, "causeEdit")->setPlainText(note);
        click(wizard, "btnContinue_2");
    }

private slots:
    void initTestCase()
    {
        SetLogfile(
            (TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
        SetLogLevel(1);
        QVERIFY(m_server.listen());
        m_server.setResponse(kPath, HttpTestServer::Response::json("{}"));
        TernSingleInstance::instance()->forceRunState(0);
    }

    void init()
    {
        m_server.clearRecords();
        uninstallAborted = false;
        TestEnv::clearLog();
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // The page flow makes sure a guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void firstReportOnEnteringTheUninstallingPage()
    {
        auto wizard = makeWizard(true);
        walkToUpdateOffer(wizard.get(), QStringLiteral("Two \"windows\" too many"));
        QCOMPARE(m_server.requestCount(), 0);

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        click(wizard.get(), "btnContinue_3");
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(currentPage(wizard.get()), 3);

        QTRY_COMPARE(m_server.requestCount(kPath), 1);
        const QByteArray posted = m_server.requests(kPath).first().body;
        QCOMPARE(posted, wizard->firstReport());
        const QByteArray causes
            = "[{\"slow\":false},{\"crash\":false},{\"price\":true},{\"features\":false},"
              "{\"other\":false},\"Two \\\"windows\\\" too many\"]";
        QCOMPARE(posted, ReportExpectations::firstReport(posted, causes, wizard->userId()));
        const QDateTime made = ReportExpectations::reportTime(posted);
        QVERIFY2(made.isValid() && made >= before && made <= after, posted.constData());

        const QStringList lines = TestEnv::logLines();
        QVERIFY(lines.filter(QStringLiteral("[debug] [3] report data ") + QString::fromUtf8(posted))
                    .size()
            == 1);
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains(QStringLiteral("start first report!")));

        // Test mode: the finished state, an address, then closing ends the wizard without more.
        click(wizard.get(), "btnComplete");
        child<QLineEdit>(wizard.get(), "emailEdit")->setText(QStringLiteral("ana@example.com"));
        QVERIFY(WizardRunner::quitsOn([&] { click(wizard.get(), "btnClose"); }));
        QVERIFY(wizard->secondReport().isEmpty());
        QVERIFY(wizard->isVisible());
        QCOMPARE(m_server.requestCount(kPath), 1);
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
    }

    void closingBeforeTheUninstallingPageSendsNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("onUpdateOffer");
        QTest::newRow("home page, title bar") << QStringLiteral("btnClose") << false;
        QTest::newRow("update offer, cancel") << QStringLiteral("btnCancel_3") << true;
    }

    void closingBeforeTheUninstallingPageSendsNothing()
    {
        QFETCH(QString, button);
        QFETCH(bool, onUpdateOffer);
        auto wizard = makeWizard(false);
        if (onUpdateOffer)
            walkToUpdateOffer(wizard.get(), QString());
        else
            QTRY_COMPARE(currentPage(wizard.get()), 1);

        QVERIFY(WizardRunner::quitsOn(
            [&] { child<QAbstractButton>(wizard.get(), qPrintable(button))->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
        QCOMPARE(m_server.requestCount(), 0);
        QVERIFY(TestEnv::logMessages(QStringLiteral("error"))
                    .contains(QStringLiteral("Uninstall close! PostData is empty")));
        QVERIFY(!TestEnv::logMessages(QStringLiteral("debug"))
                     .contains(QStringLiteral("uninstsall After")));
    }
};

UNINSTALL_TEST_MAIN(TestUninstallReports)
#include "tst_uninstallreports.moc"
