#include "removal/checkclosedlg.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include "platform.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const int pollMs = 20;
const int timeoutMs = 400;

struct Spies {
    explicit Spies(CheckCloseDlg* dialog)
        : kill(dialog, &CheckCloseDlg::completeKill)
        , killing(dialog, &CheckCloseDlg::completeKilling)
        , start(dialog, &CheckCloseDlg::startKillCheck)
        , timeout(dialog, &CheckCloseDlg::completeKillTimeout)
    {
    }
    QSignalSpy kill;
    QSignalSpy killing;
    QSignalSpy start;
    QSignalSpy timeout;
};

QAbstractButton* button(CheckCloseDlg* dialog, const char* name)
{
    return dialog->findChild<QAbstractButton*>(QLatin1String(name));
}

} // namespace

class CheckCloseDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void form_data();
    void form();
    void logsItsLifetime();
    void goneAtFirstPollCompletesOnce();
    void stillRunningTimesOutOnce();
    void earlierTimeoutCannotCutALaterRoundShort();
    void dismissingLeavesTheApplicationRunning_data();
    void dismissingLeavesTheApplicationRunning();
    void continueEndsTheRunningApplication();

private:
    std::unique_ptr<CheckCloseDlg> shownDialog();

    QString product;
};

void CheckCloseDlgTest::initTestCase()
{
    product = RemovalTest::makeProductNameUnique();
    RemovalTest::openLog();
    CheckCloseDlg::setIntervalsForTesting(pollMs, timeoutMs);
}

void CheckCloseDlgTest::cleanup()
{
    TernSingleInstance::instance()->forceRunState(-1);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<CheckCloseDlg> CheckCloseDlgTest::shownDialog()
{
    auto dialog = std::make_unique<CheckCloseDlg>(nullptr);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
}

void CheckCloseDlgTest::form_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::newRow("client") << "ternMainWindowClient"
                            << "QFrame" << QString();
    QTest::newRow("title bar") << "frameTitle"
                               << "QFrame" << QString();
    QTest::newRow("title") << "productName"
                           << "QLabel" << QStringLiteral("Uninstall ") + product;
    QTest::newRow("close") << "btnClose"
                           << "QToolButton" << QString();
    QTest::newRow("picture") << "chacekImg"
                             << "QLabel" << QString();
    QTest::newRow("tip") << "checkTipLab"
                         << "QLabel"
                         << "We found that the program has not been closed. Please close it "
                            "before uninstalling.";
    QTest::newRow("continue") << "btnContinue"
                              << "QPushButton"
                              << "Continue";
    QTest::newRow("cancel") << "btnCancel"
                            << "QPushButton"
                            << "Cancel";
}

void CheckCloseDlgTest::form()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    CheckCloseDlg dialog(nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("CheckCloseDlg"));
    QCOMPARE(dialog.windowTitle(), QString());
    QWidget* widget = dialog.findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), text);
    if (auto* pushed = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(pushed->text(), text);
        QCOMPARE(pushed->focusPolicy(), Qt::NoFocus);
    }
}

void CheckCloseDlgTest::logsItsLifetime()
{
    TestEnv::clearLog();
    std::make_unique<CheckCloseDlg>(nullptr).reset();
    QCOMPARE(TestEnv::logMessages(QStringLiteral("debug")),
        QStringList({ QStringLiteral("CheckCloseDlg init!"),
            QStringLiteral("CheckCloseDlg ~CheckCloseDlg!") }));
}

void CheckCloseDlgTest::goneAtFirstPollCompletesOnce()
{
    TernSingleInstance::instance()->forceRunState(0);
    TestEnv::clearLog();
    auto dialog = shownDialog();
    Spies spies(dialog.get());
    // The wizard's handler, connected later, finds the dialog already closed.
    bool visibleForLaterHandlers = true;
    connect(dialog.get(), &CheckCloseDlg::completeKill, this,
        [&] { visibleForLaterHandlers = dialog->isVisible(); });

    button(dialog.get(), "btnContinue")->click();

    QCOMPARE(spies.start.count(), 1);
    QVERIFY(spies.kill.wait());
    QVERIFY(!visibleForLaterHandlers);
    QCOMPARE(spies.killing.count(), 0);
    QVERIFY(TestEnv::logMessages().contains(
        QStringLiteral("kill program:") + Platform::executableFileName(product)));
    // The time-out of this round passes without a word.
    QVERIFY(!spies.timeout.wait(timeoutMs * 2));
    QCOMPARE(spies.kill.count(), 1);
}

void CheckCloseDlgTest::stillRunningTimesOutOnce()
{
    TernSingleInstance::instance()->forceRunState(TernSingleInstance::RunningElevated);
    auto dialog = shownDialog();
    Spies spies(dialog.get());
    const int releasesBefore = TernSingleInstance::releaseCount();

    dialog->onKillPrograms();

    QVERIFY(spies.timeout.wait(timeoutMs * 20));
    QVERIFY2(spies.killing.count() >= 2, qPrintable(QString::number(spies.killing.count())));
    QCOMPARE(TernSingleInstance::releaseCount() - releasesBefore, spies.killing.count());
    // Polling has stopped with the time-out.
    const int polls = spies.killing.count();
    QVERIFY(!spies.killing.wait(pollMs * 10));
    QCOMPARE(spies.killing.count(), polls);
    QCOMPARE(spies.timeout.count(), 1);
    QCOMPARE(spies.kill.count(), 0);

    // Continue once more: a fresh round that ends as soon as the application is gone.
    TernSingleInstance::instance()->forceRunState(0);
    dialog->onKillPrograms();
    QVERIFY(spies.kill.wait());
    QCOMPARE(spies.start.count(), 2);
    QCOMPARE(spies.timeout.count(), 1);
}

void CheckCloseDlgTest::earlierTimeoutCannotCutALaterRoundShort()
{
    auto dialog = shownDialog();
    Spies spies(dialog.get());
    TernSingleInstance::instance()->forceRunState(0);
    dialog->onKillPrograms();
    QVERIFY(spies.kill.wait());
    // Half-way through the first round's time-out the application is found running again.
    QVERIFY(!spies.timeout.wait(timeoutMs / 2));
    TernSingleInstance::instance()->forceRunState(TernSingleInstance::Running);
    QElapsedTimer sinceSecondRound;
    sinceSecondRound.start();
    dialog->onKillPrograms();
    QVERIFY(spies.timeout.wait(timeoutMs * 20));
    // A coarse timer may fire up to 5 % early; the first round's would fire after half.
    QVERIFY2(sinceSecondRound.elapsed() >= timeoutMs * 9 / 10,
        qPrintable(QString::number(sinceSecondRound.elapsed())));
    QCOMPARE(spies.timeout.count(), 1);
}

void CheckCloseDlgTest::dismissingLeavesTheApplicationRunning_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::newRow("cancel") << "btnCancel";
    QTest::newRow("close") << "btnClose";
}

void CheckCloseDlgTest::dismissingLeavesTheApplicationRunning()
{
    QFETCH(QString, buttonName);
    ProcessCopies copies;
    QProcess* application = copies.start(Platform::executableFileName(product));
    QVERIFY(application);
    QCOMPARE(TernSingleInstance::instance()->runState(), int(TernSingleInstance::Running));
    auto dialog = shownDialog();
    Spies spies(dialog.get());

    button(dialog.get(), qPrintable(buttonName))->click();

    QVERIFY(!dialog->isVisible());
    QVERIFY(!application->waitForFinished(300));
    QCOMPARE(application->state(), QProcess::Running);
    QCOMPARE(
        spies.start.count() + spies.kill.count() + spies.killing.count() + spies.timeout.count(),
        0);
}

void CheckCloseDlgTest::continueEndsTheRunningApplication()
{
    ProcessCopies copies;
    QProcess* application = copies.start(Platform::executableFileName(product));
    QProcess* second = copies.start(Platform::executableFileName(product));
    QVERIFY(application && second);
    QCOMPARE(TernSingleInstance::instance()->runState(), int(TernSingleInstance::Running));
    auto dialog = shownDialog();
    Spies spies(dialog.get());

    button(dialog.get(), "btnContinue")->click();

    QVERIFY(spies.kill.wait(timeoutMs * 20));
    QCOMPARE(spies.kill.count(), 1);
    QCOMPARE(spies.timeout.count(), 0);
    QVERIFY(!dialog->isVisible());
    QTRY_COMPARE(application->state(), QProcess::NotRunning);
    QTRY_COMPARE(second->state(), QProcess::NotRunning);
    QCOMPARE(application->exitStatus(), QProcess::CrashExit);
}

UNINSTALL_TEST_MAIN(CheckCloseDlgTest)

#include "tst_checkclosedlg.moc"
