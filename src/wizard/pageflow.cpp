// The wizard's page machine: continue, the running-program check, the finished state and
// the way out.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "entry/logging.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/waits.h"
#include "removal/afteruninstall.h"
#include "removal/checkclosedlg.h"
#include "removal/filedeletionthread.h"
#include "removal/runningapplication.h"

#include "ternga.h"
#include "ternsingleinstance.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

enum Page { LoadingPage = 0, HomePage = 1, CausePages = 2, UninstallingPage = 3 };
enum CausePage { ReasonPage = 0, UpdateOfferPage = 1 };

} // namespace

void Uninstall::changePage()
{
    if (dragging)
        return;
    UninstallLog::debug(QStringLiteral("Uninstall changePage run!"));
    const int next = form->processPage->currentIndex() + 1;
    const int count = form->processPage->count();
    const int innerNext = form->causePage_2->currentIndex() + 1;

    if (next == UninstallingPage) {
        form->btnUpdate->show();
        form->discountBg->show();
        if (innerNext == UpdateOfferPage) {
            form->causePage_2->setCurrentIndex(UpdateOfferPage);
            return;
        }
        UninstallLog::debug(QStringLiteral("check App isRunning?"));
        UninstallSingleInstance::instance();
        if (RunningApplication::isRunning()) {
            checkRunningApplication();
            return;
        }
    }
    if (next > count)
        return;
    if (next == UninstallingPage) {
        sendFirstReport();
        if (!testMode) {
            form->btnClose->hide();
            deletionThread->start(QThread::InheritPriority);
        }
    }
    form->processPage->setCurrentIndex(next);
}

void Uninstall::checkRunningApplication()
{
    TernSingleInstance::release();
    if (!checkCloseDlg) {
        checkCloseDlg = new CheckCloseDlg(this);
        connectCheckCloseDlg();
    }
    checkCloseDlg->setWindowModality(Qt::WindowModal);
    checkCloseDlg->show();
}

void Uninstall::connectCheckCloseDlg()
{
    const auto setUpdateButtonsEnabled = [this](bool enabled) {
        form->btnContinue_3->setEnabled(enabled);
        form->btnUpdate->setEnabled(enabled);
        form->btnCancel_3->setEnabled(enabled);
    };
    connect(checkCloseDlg, &CheckCloseDlg::startKillCheck, this, [this, setUpdateButtonsEnabled] {
        form->btnContinue_3->setText(tr("Continuing"));
        checkCloseDlg->hide();
        setUpdateButtonsEnabled(false);
    });
    connect(
        checkCloseDlg, &CheckCloseDlg::completeKillTimeout, this, [this, setUpdateButtonsEnabled] {
            form->btnContinue_3->setText(tr("Continue"));
            checkCloseDlg->setWindowModality(Qt::WindowModal);
            checkCloseDlg->show();
            setUpdateButtonsEnabled(true);
        });
    connect(checkCloseDlg, &CheckCloseDlg::completeKill, this, [this, setUpdateButtonsEnabled] {
        form->btnContinue_3->setText(tr("Continue"));
        changePage();
        setUpdateButtonsEnabled(true);
    });
}

void Uninstall::showFinally()
{
    UninstallLog::debug(QStringLiteral("completeSlot run!"));
    form->btnComplete->show();
    form->frameEmail->show();
    form->emailTitle->show();
    form->btnClose->show();
    form->frameBar->hide();
    form->processBarTitle->hide();
    form->lblUninstalling->hide();
    showRemovalTexts();
}

void Uninstall::completeSlot()
{
    if (dragging)
        return;
    showFinally();
    if (!testMode)
        close();
}

void Uninstall::cancelAndClose(bool markAborted)
{
    if (dragging)
        return;
    if (markAborted)
        uninstallAborted = true;
    close();
}

QString Uninstall::pageEndLabel() const
{
    // On a stacked page only the current page's button counts as visible.
    QString label;
    if (form->btnContinue_1->isVisible())
        label = QStringLiteral("homepage");
    if (form->btnContinue_2->isVisible())
        label = QStringLiteral("reason");
    if (form->btnContinue_3->isVisible())
        label = QStringLiteral("update");
    if (form->btnComplete->isVisible())
        label = QStringLiteral("done");
    return label;
}

void Uninstall::sendPageEndEvent()
{
    sendEvent(QStringLiteral("show_end"), pageEndLabel());
}

void Uninstall::close()
{
    sendPageEndEvent();
    if (dragging)
        return;
    if (form->processPage->currentIndex() != UninstallingPage)
        uninstallAborted = true;
    if ((firstReportData.isEmpty() && secondReportData.isEmpty()) || testMode) {
        UninstallLog::error(QStringLiteral("Uninstall close! PostData is empty"));
        QCoreApplication::quit();
        return;
    }
    UninstallLog::debug(QStringLiteral("Uninstall close!"));
    sendSecondReport();

    delete retryTimer;
    delete quitTimer;
    retryTimer = new QTimer(this);
    retryTimer->setInterval(Waits::scaled(Waits::kReportRetryMs));
    connect(retryTimer, &QTimer::timeout, this, &Uninstall::onRetryTick);
    quitTimer = new QTimer(this);
    quitTimer->setSingleShot(true);
    quitTimer->setInterval(Waits::scaled(Waits::kReportLimitMs));
    connect(quitTimer, &QTimer::timeout, this, &Uninstall::onQuitTimer);

    hide();
    quitTimer->start();
    retryTimer->start();
    // The product stays registered while its files are still there.
    if (!m_removal.failed())
        AfterUninstall::run(AfterUninstall::OpenWebPage);
}

void Uninstall::onRetryTick()
{
    if (secondReportDone) {
        retryTimer->stop();
        quitTimer->stop();
        QCoreApplication::quit();
        return;
    }
    if (!firstReportDone)
        postReport(firstReportData);
    if (!secondReportDone)
        postReport(secondReportData);
}

void Uninstall::onQuitTimer()
{
    retryTimer->stop();
    QCoreApplication::quit();
}
