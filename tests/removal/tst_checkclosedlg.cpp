#include "removal/checkclosedlg.h"

#include "entry/waits.h"

#include "removaltestsupport.h"
#include "testenvironment.h"

#include "platform.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {

// The poll (1 s) and the time-out (30 s) at a fiftieth. Written out rather than taken from
// Waits, so that a changed constant shows.
const double waitScale = 0.02;
const int pollMs = int(1000 * waitScale);
const int timeoutMs = int(30000 * waitScale);

// Opened as the wizard opens it; `trace` gets its signals in the order they come.
std::unique_ptr<CheckCloseDlg> shownDialog(QStringList* trace)
{
    auto dialog = std::make_unique<CheckCloseDlg>(nullptr);
    CheckCloseDlg* sender = dialog.get();
    const auto record = [&](void (CheckCloseDlg::*signal)(), const QString& name) {
        QObject::connect(sender, signal, sender, [trace, name] { trace->append(name); });
    };
    record(&CheckCloseDlg::startKillCheck, QStringLiteral("start"));
    record(&CheckCloseDlg::completeKilling, QStringLiteral("killing"));
    record(&CheckCloseDlg::completeKill, QStringLiteral("kill"));
    record(&CheckCloseDlg::completeKillTimeout, QStringLiteral("timeout"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
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

    void answer_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("trace");
        QTest::newRow("continue ends it") << "btnContinue"
                                          << "start kill";
        QTest::newRow("cancel leaves it") << "btnCancel"
                                          << "";
        QTest::newRow("close leaves it") << "btnClose"
                                         << "";
    }

    // The application as it is, nothing forced: a copy under the product's name that ignores
    // a request to end, as a program busy saving would.
    void answer()
    {
        QFETCH(QString, button);
        QFETCH(QString, trace);
        const bool ends = !trace.isEmpty();
        ProcessCopies copies;
        const QString ready = copies.path(QStringLiteral("ready"));
        QProcess* application = copies.start(Platform::executableFileName(product),
            QStringLiteral("/bin/sh"),
            { QStringLiteral("-c"), QStringLiteral("trap '' TERM; : > \"$0\"; read line"), ready });
        QVERIFY(application);
        QTRY_VERIFY(QFile::exists(ready));
        TestEnv::clearLog();
        QStringList heard;
        auto dialog = shownDialog(&heard);
        // The wizard's handler, connected later, finds the dialog already closed.
        bool visibleForLaterHandlers = false;
        connect(dialog.get(), &CheckCloseDlg::completeKill, this,
            [&] { visibleForLaterHandlers = dialog->isVisible(); });

        // Polls while the system lets the ended copy go are no matter; that it goes is.
        const auto settled = [&] {
            QStringList seen = heard;
            seen.removeAll(QStringLiteral("killing"));
            return seen.join(QLatin1Char(' '));
        };
        dialog->findChild<QAbstractButton*>(button)->click();

        QTRY_COMPARE(settled(), trace);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!visibleForLaterHandlers);
        QCOMPARE(TestEnv::logMessages().contains(
                     QStringLiteral("kill program:") + Platform::executableFileName(product)),
            ends);
        // Nothing more, not even the time-out of this round.
        QTest::qWait(timeoutMs * 3 / 2);
        QCOMPARE(settled(), trace);
        QCOMPARE(application->state() == QProcess::NotRunning, ends);
    }

    void stillRunningTimesOutAfterThirtySeconds()
    {
        QStringList heard;
        auto dialog = shownDialog(&heard);
        forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QTRY_COMPARE(heard.size(), 2);

        // Half-way through the first round's time-out the application runs again: the second
        // round gets a whole time-out of its own.
        QTest::qWait(timeoutMs / 2);
        forceRunState(TernSingleInstance::Running);
        const int releasesBefore = TernSingleInstance::releaseCount();
        QElapsedTimer sinceSecondRound;
        sinceSecondRound.start();
        dialog->onKillPrograms();
        QTRY_VERIFY(heard.contains(QStringLiteral("killing")));
        forceRunState(TernSingleInstance::RunningElevated);
        QTRY_VERIFY_WITH_TIMEOUT(heard.contains(QStringLiteral("timeout")), timeoutMs * 20);
        // A coarse timer may fire up to 5 % early.
        QVERIFY(sinceSecondRound.elapsed() >= timeoutMs * 9 / 10);
        const int polls = heard.count(QStringLiteral("killing"));
        QVERIFY(polls >= 2);
        QCOMPARE(TernSingleInstance::releaseCount() - releasesBefore, polls);
        QTest::qWait(pollMs * 10);

        // Continue once more: a fresh round that ends as soon as the application is gone.
        forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QTRY_VERIFY(heard.endsWith(QStringLiteral("kill")));
        QCOMPARE(heard.join(QLatin1Char(' ')),
            QStringLiteral("start kill start ") + QStringLiteral("killing ").repeated(polls)
                + QStringLiteral("timeout start kill"));
    }

    // Over the middle of its owner each time it opens; the window manager's side shows in
    // tst_dialogwindow.
    void opensCentredOverItsOwner()
    {
        QWidget owner;
        owner.setGeometry(120, 90, 800, 560);
        owner.show();
        CheckCloseDlg dialog(&owner);
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
};

UNINSTALL_TEST_MAIN(CheckCloseDlgTest)
#include "tst_checkclosedlg.moc"
