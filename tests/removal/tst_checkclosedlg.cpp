#include "removal/checkclosedlg.h"

#include "entry/waits.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include "platform.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The production poll (1 s) and time-out (30 s) at a fiftieth.
const double waitScale = 0.02;
const int pollMs = int(Waits::kKillPollMs * waitScale);
const int timeoutMs = int(Waits::kKillTimeoutMs * waitScale);

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

std::unique_ptr<CheckCloseDlg> shownDialog()
{
    auto dialog = std::make_unique<CheckCloseDlg>(nullptr);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
}

void click(CheckCloseDlg* dialog, const QString& name)
{
    dialog->findChild<QAbstractButton*>(name)->click();
}

void forceRunState(int state)
{
    TernSingleInstance::instance()->forceRunState(state);
}

} // namespace

class CheckCloseDlgTest : public QObject {
    Q_OBJECT

    QString product;

private slots:
    void initTestCase()
    {
        product = RemovalTest::makeProductNameUnique();
        RemovalTest::openLog();
        Waits::setScale(waitScale);
    }

    void cleanup()
    {
        forceRunState(-1);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void goneAtFirstPollCompletesOnce()
    {
        forceRunState(TernSingleInstance::NotRunning);
        TestEnv::clearLog();
        auto dialog = shownDialog();
        Spies spies(dialog.get());
        // The wizard's handler, connected later, finds the dialog already closed.
        bool visibleForLaterHandlers = true;
        connect(dialog.get(), &CheckCloseDlg::completeKill, this,
            [&] { visibleForLaterHandlers = dialog->isVisible(); });

        click(dialog.get(), QStringLiteral("btnContinue"));

        QCOMPARE(spies.start.count(), 1);
        QVERIFY(spies.kill.wait());
        QVERIFY(!visibleForLaterHandlers);
        QVERIFY(TestEnv::logMessages().contains(
            QStringLiteral("kill program:") + Platform::executableFileName(product)));
        // The time-out of this round passes without a word.
        QVERIFY(!spies.timeout.wait(timeoutMs * 2));
        QCOMPARE(spies.kill.count(), 1);
        QCOMPARE(spies.killing.count(), 0);
    }

    void stillRunningTimesOutOnce()
    {
        forceRunState(TernSingleInstance::RunningElevated);
        auto dialog = shownDialog();
        Spies spies(dialog.get());
        const int releasesBefore = TernSingleInstance::releaseCount();

        dialog->onKillPrograms();

        QVERIFY(spies.timeout.wait(timeoutMs * 20));
        QVERIFY(spies.killing.count() >= 2);
        QCOMPARE(TernSingleInstance::releaseCount() - releasesBefore, spies.killing.count());
        // Polling stops with the time-out.
        const int polls = spies.killing.count();
        QVERIFY(!spies.killing.wait(pollMs * 10));
        QCOMPARE(spies.killing.count(), polls);
        QCOMPARE(spies.timeout.count(), 1);
        QCOMPARE(spies.kill.count(), 0);

        // Continue once more: a fresh round that ends as soon as the application is gone.
        forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QVERIFY(spies.kill.wait());
        QCOMPARE(spies.start.count(), 2);
        QCOMPARE(spies.timeout.count(), 1);
    }

    void earlierTimeoutCannotCutALaterRoundShort()
    {
        auto dialog = shownDialog();
        Spies spies(dialog.get());
        forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QVERIFY(spies.kill.wait());
        // Half-way through the first round's time-out the application runs again.
        QVERIFY(!spies.timeout.wait(timeoutMs / 2));
        forceRunState(TernSingleInstance::Running);
        QElapsedTimer sinceSecondRound;
        sinceSecondRound.start();
        dialog->onKillPrograms();
        QVERIFY(spies.timeout.wait(timeoutMs * 20));
        // A coarse timer may fire up to 5 % early; the first round's would fire after half.
        QVERIFY(sinceSecondRound.elapsed() >= timeoutMs * 9 / 10);
        QCOMPARE(spies.timeout.count(), 1);
    }

    // A dialog of its owner, over the middle of it, each time it opens; the window manager's
    // side shows in tst_dialogwindow.
    void opensCentredOverItsOwner()
    {
        QWidget owner;
        owner.setGeometry(120, 90, 800, 560);
        owner.show();
        CheckCloseDlg dialog(&owner);
        QVERIFY(dialog.windowType() == Qt::Dialog);
        for (const QPoint& ownerAt : { QPoint(120, 90), QPoint(300, 20) }) {
            owner.move(ownerAt);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            const QPoint gap = dialog.frameGeometry().center() - owner.frameGeometry().center();
            QVERIFY2(gap.manhattanLength() <= 1,
                qPrintable(QStringLiteral("%1, %2").arg(gap.x()).arg(gap.y())));
            dialog.hide();
        }
    }

    void dismissingLeavesTheApplicationRunning_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("cancel") << "btnCancel";
        QTest::newRow("close") << "btnClose";
    }

    void dismissingLeavesTheApplicationRunning()
    {
        QFETCH(QString, button);
        ProcessCopies copies;
        QProcess* application = copies.start(Platform::executableFileName(product));
        QVERIFY(application);
        auto dialog = shownDialog();
        Spies spies(dialog.get());

        click(dialog.get(), button);

        QVERIFY(!dialog->isVisible());
        QVERIFY(!application->waitForFinished(300));
        QCOMPARE(spies.start.count() + spies.kill.count() + spies.killing.count()
                + spies.timeout.count(),
            0);
    }
};

UNINSTALL_TEST_MAIN(CheckCloseDlgTest)
#include "tst_checkclosedlg.moc"
