#include "removal/checkclosedlg.h"

#include "ui_checkclosedlg.h"

#include "entry/logging.h"
#include "entry/waits.h"
#include "removal/processkiller.h"
#include "removal/runningapplication.h"
#include "widgets/dialogkeys.h"

#include "ternproductinfo.h"
#include "ternsingleinstance.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

namespace {

QString productName()
{
    return TernProductInfo::instance()->productName(QString());
}

} // namespace

// A dialog of the wizard: the window system keeps it over the wizard and gives it no taskbar
// entry of its own.
CheckCloseDlg::CheckCloseDlg(QWidget* parent)
    : TernMainWindowBase(parent, Qt::Dialog)
    , form(new Ui::CheckCloseDlg)
{
    form->setupUi(this);
    UninstallLog::debug(QStringLiteral("CheckCloseDlg init!"));
    form->productName->setText(
        QCoreApplication::translate("QObject", "Uninstall %1").arg(productName()));
    setAccessibleName(form->productName->text());
    // As in the wizard: Return and Escape work at once, Tab leads to the buttons.
    setFocus();
    postCreateDerivedMainWindow(false, true, nullptr);

    checkTimer = new QTimer(this);
    checkTimer->setInterval(Waits::scaled(Waits::kKillPollMs));
    // One time-out for the whole dialog, restarted by every "Continue", so that the time-out
    // of an earlier round can never cut a later one short.
    killTimeout = new QTimer(this);
    killTimeout->setSingleShot(true);
    killTimeout->setTimerType(Qt::CoarseTimer);

    // The dialog must be closed before the wizard, connected later, moves on.
    connect(this, &CheckCloseDlg::completeKill, this, &QWidget::close);
    connect(form->btnClose, &QToolButton::clicked, this, &QWidget::close);
    connect(form->btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(form->btnContinue, &QPushButton::clicked, this, &CheckCloseDlg::onKillPrograms);
    connect(checkTimer, &QTimer::timeout, this, &CheckCloseDlg::poll);
    connect(killTimeout, &QTimer::timeout, this, &CheckCloseDlg::onTimeout);
}

CheckCloseDlg::~CheckCloseDlg()
{
    UninstallLog::debug(QStringLiteral("CheckCloseDlg ~CheckCloseDlg!"));
    delete checkTimer;
    delete form;
}

void CheckCloseDlg::showEvent(QShowEvent* event)
{
    // Over the middle of the wizard, where the user is looking, not where the window system
    // would put a new window.
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    TernMainWindowBase::showEvent(event);
    // The wizard waits for an answer: the keys come here, whatever the window system does.
    // Asked once the window is up, as a window system takes no request for a window it has not
    // shown yet.
    QMetaObject::invokeMethod(this, &QWidget::activateWindow, Qt::QueuedConnection);
}

void CheckCloseDlg::keyPressEvent(QKeyEvent* event)
{
    if (!DialogKeys::press(this, event, form->btnContinue, form->btnCancel))
        TernMainWindowBase::keyPressEvent(event);
}

void CheckCloseDlg::onKillPrograms()
{
    const QString executable = RunningApplication::executableName();
    UninstallLog::debug(QStringLiteral("kill program:") + executable);
    killProcesses({ executable });

    killTimeout->start(Waits::scaled(Waits::kKillTimeoutMs));
    checkTimer->start(Waits::scaled(Waits::kKillPollMs));
    emit startKillCheck();
}

void CheckCloseDlg::poll()
{
    if (RunningApplication::isRunning()) {
        TernSingleInstance::release();
        emit completeKilling();
        return;
    }
    checkTimer->stop();
    killTimeout->stop();
    emit completeKill();
}

void CheckCloseDlg::onTimeout()
{
    if (!checkTimer->isActive())
        return;
    checkTimer->stop();
    emit completeKillTimeout();
}
