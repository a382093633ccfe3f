#include "removal/checkclosedlg.h"

#include "entry/waits.h"

#include "testenvironment.h"

#include "platform.h"
#include "ternproductinfo.h"
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
    using Signal = void (CheckCloseDlg::*)();
    for (const auto& [signal, name] :
        { std::pair<Signal, const char*> { &CheckCloseDlg::startKillCheck, "start" },
            { &CheckCloseDlg::completeKilling, "killing" },
            { &CheckCloseDlg::completeKill, "kill" },
            { &CheckCloseDlg::completeKillTimeout, "timeout" } })
        QObject::connect(
            dialog.get(), signal, dialog.get(), [trace, name = name] { trace->append(name); });
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
        // Termination works machine-wide by executable name: suites running side by side must
        // never hit each other's processes.
        TestEnv::updateProduct({ { "name",
            TernProductInfo::instance()->productName({}) + ' '
                + QString::number(QCoreApplication::applicationPid()) } });
        product = Platform::executableFileName(TernProductInfo::instance()->productName({}));
        TestEnv::useWizardLog();
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
        QTest::newRow("continue ends it") << QStringLiteral("btnContinue") << "start kill";
        QTest::newRow("cancel leaves it") << QStringLiteral("btnCancel") << "";
        QTest::newRow("close leaves it") << QStringLiteral("btnClose") << "";
    }

    // The application as it is, nothing forced: a copy under the product's name that ignores
    // a request to end, as a program busy saving would.
    void answer()
    {
        QFETCH(QString, button);
        QFETCH(QString, trace);
        const bool ends = !trace.isEmpty();
        QTemporaryDir dir;
        const QString ready = dir.filePath(QStringLiteral("ready"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sh"), dir.filePath(product)));
        QProcess application;
        application.start(
            dir.filePath(product), { "-c", "trap '' TERM; : > \"$0\"; read line", ready });
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
        QVERIFY(!dialog->isVisible() && !visibleForLaterHandlers);
        QCOMPARE(TestEnv::logMessages().contains(QStringLiteral("kill program:") + product), ends);
        // Nothing more, not even the time-out of this round.
        QTest::qWait(timeoutMs * 3 / 2);
        QCOMPARE(settled(), trace);
        QCOMPARE(application.state() == QProcess::NotRunning, ends);
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
        QCOMPARE(TernSingleInstance::releaseCount() - releasesBefore, polls);
        QTest::qWait(pollMs * 10);

        // Continue once more: a fresh round that ends as soon as the application is gone.
        forceRunState(TernSingleInstance::NotRunning);
        dialog->onKillPrograms();
        QTRY_VERIFY(heard.endsWith(QStringLiteral("kill")));
        QVERIFY(polls >= 2);
        QCOMPARE(heard.join(' '),
            "start kill start " + QString("killing ").repeated(polls) + "timeout start kill");
    }
};

UNINSTALL_TEST_MAIN(CheckCloseDlgTest)
#include "tst_checkclosedlg.moc"
