#include "wizard/uninstall.h"
#include "ui_uninstallwindow.h"

#include "content/uninstallprofile.h"
#include "entry/logging.h"
#include "entry/uninstallregmgr.h"
#include "entry/useridentifier.h"
#include "removal/checkclosedlg.h"
#include "removal/deletiondecision.h"
#include "removal/filecount.h"
#include "removal/filedeletionthread.h"
#include "report/reportposter.h"
#include "widgets/dialogkeys.h"
#include "widgets/frameanimation.h"

#include "ternga.h"
#include "ternproductinfo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMovie>
#include <QTimer>

Uninstall::Uninstall(QWidget* parent)
    : TernMainWindowBase(parent, {})
    , form(new Ui::UnInstallWindow)
{
    UninstallLog::debug(QStringLiteral("Uninstall inint start!"));
    form->setupUi(this);
    // The skin's style properties must be in place before initData and initUI read them.
    ensurePolished();
    initData();
    initUI();
    makeConnections();
    // The window itself holds the focus until the user tabs into a page: the keys reach it, and
    // no control shows a focus ring to a user of the mouse.
    setFocus();
    UninstallLog::debug(QStringLiteral("Uninstall inint ending!"));
    postCreateDerivedMainWindow(false, true, nullptr);
    UninstallRegMgr::init();
    sendEvent(QStringLiteral("show_start"));
}

Uninstall::~Uninstall()
{
    UninstallLog::debug(QStringLiteral("Uninstall ~Uninstall"));
    delete retryTimer;
    delete quitTimer;
    delete loadingMovie;
    if (deletionThread) {
        // Whatever ended the event loop, a running removal finishes before its owner goes.
        deletionThread->wait();
        delete deletionThread;
    }
    delete checkCloseDlg;
    delete profile;
    delete form;
}

void Uninstall::initData()
{
    UninstallLog::debug(QStringLiteral("Uninstall initData run!"));
    UninstallLog::debug(QStringLiteral("Uninstall initData get File count start!"));
    const QString dir = QCoreApplication::applicationDirPath();
    UninstallLog::debug(QStringLiteral("Uninstall initData app dir: ") + dir);
    appDir = QDir(dir);

    TernProductInfo* product = TernProductInfo::instance();
    reportUrl = product->extendParam(QStringLiteral("uninstallReportUrl"), QString());
    testMode = product->extendParam(QStringLiteral("uninstallTest"), QString()).toInt() != 0;

    // Nothing is counted in a folder that will not be removed: it may be the whole home.
    const DeletionDecision decision = DeletionDecision::decide(dir, InstallationMarks::current());
    if (decision.accepted())
        form->progressBar->setMaximum(getFileCount(appDir));
    else
        UninstallLog::error(QStringLiteral("Uninstall initData will not remove ") + dir
            + QStringLiteral(": ") + decision.detail);
    UninstallLog::debug(QStringLiteral("Uninstall initData get File count end!"));
    deletionThread = new FileDeletionThread(appDir);

    form->framePurchase->installEventFilter(this);
    form->discountBg->installEventFilter(this);
    // Presses on the promotion picture belong to the frame around it.
    form->purchaseImg->setAttribute(Qt::WA_TransparentForMouseEvents);

    loadingMovie = new QMovie(m_loadingPath);
    form->loadingLab->setMovie(loadingMovie);
    // A skin without an animation path leaves nothing to play.
    if (!m_loadingPath.isEmpty())
        loadingMovie->start();
    form->lblLoadingPng->startAnimation();
    // The uninstalling page's spinner turns through the same frames.
    new FrameAnimation(form->lblUninstalling,
        QFileInfo(form->lblLoadingPng->imgBaseName()).absolutePath(),
        form->lblLoadingPng->imgCount(), form->lblLoadingPng->nInterval());

    UninstallLog::debug(QStringLiteral("Uninstall initData createUID"));
    createUID(this);

    reportPoster = new ReportPoster(this);
    profile = new UninstallProfile(nullptr);
}

void Uninstall::makeConnections()
{
    connect(profile, &UninstallProfile::downLoadResEmit, this, &Uninstall::loadDownLoadRes);
    connect(profile, &UninstallProfile::recAppEmit, this, &Uninstall::recApp);
    connect(
        profile, &UninstallProfile::uninstallCauseEmit, this, &Uninstall::on_uninstallCause_slot);

    connect(form->btnContinue_1, &QPushButton::clicked, this,
        [this] { continueFrom("btn_continue_homepage"); });
    connect(form->btnContinue_2, &QPushButton::clicked, this,
        [this] { continueFrom("btn_continue_reason"); });
    connect(form->btnContinue_3, &QPushButton::clicked, this,
        [this] { continueFrom("btn_continue_update"); });
    connect(form->btnClose, &QToolButton::clicked, this, &Uninstall::close);
    // The chooser is connected by its signature, as the host's skins and tools expect.
    connect(form->comboBox, SIGNAL(currentIndexChanged(int)), this, SLOT(on_changeLanguage(int)));
    connect(form->btnComplete, &QPushButton::clicked, this, [this] {
        if (!dragging) {
            showFinally();
            if (!testMode)
                close();
        }
        sendEvent(QStringLiteral("btn_done"));
    });
    connect(form->purchaseBtn1, &QPushButton::clicked, this, &Uninstall::onPurchaseDlgSlot);
    connect(form->btnDiscount, &QPushButton::clicked, this,
        [this] { buyFrom(QStringLiteral("bannerandbuy")); });
    connect(form->btnUpdate, &QPushButton::clicked, this, &Uninstall::updateApp);
    connect(deletionThread, &FileDeletionThread::updateBar, this, &Uninstall::updateBar);
    connect(deletionThread, &FileDeletionThread::deleteComplete, this, &Uninstall::onDeletionEnded);
    connect(deletionThread, &QThread::finished, this, &Uninstall::onDeletionThreadFinished);
    connect(form->btnCancel_1, &QPushButton::clicked, this, [this] { cancelAndClose(false); });
    connect(form->btnCancel_2, &QPushButton::clicked, this, [this] { cancelAndClose(true); });
    connect(form->btnCancel_3, &QPushButton::clicked, this, [this] { cancelAndClose(true); });

    optionBoxes
        = { form->option_1, form->option_2, form->option_3, form->option_4, form->option_5 };
    for (QCheckBox* box : qAsConst(optionBoxes))
        connect(box, &QCheckBox::clicked, this, &Uninstall::onBtnContinueEnableSlot);

    connect(reportPoster, &ReportPoster::finished, this, &Uninstall::onReportFinished);
}

int Uninstall::getFileCount(const QDir& dir)
{
    return getFileCountLogged(dir);
}

void Uninstall::sendEvent(const QString& action, const QString& label)
{
    TERNGA::instance()->CEIP(QStringLiteral("offload_retention"), action, TERNGA::Event, label, 0);
}

void Uninstall::continueFrom(const char* action)
{
    sendEvent(QString::fromLatin1(action));
    changePage();
}

void Uninstall::updateBar(int value)
{
    form->progressBar->setValue(value);
}

void Uninstall::recApp(QVector<RecApp> apps)
{
    UninstallLog::debug(QStringLiteral("Uninstall bind recApp!"));
    recApps = apps;
}

void Uninstall::loadDownLoadRes()
{
    const QString banner = bannerPicture();
    const QString promotion = promotionPicture();
    UninstallLog::debug(QStringLiteral("Uninstall load downLoad res"));
    uninstallSkin(banner, promotion);
    form->recWidget->setRecAppInfos(recApps);
    // No heading above an empty pager.
    form->frameRecTitle->setVisible(!recApps.isEmpty());
    form->recWidget->setVisible(!recApps.isEmpty());
    // Content may come again (the defaults after a failure, then what the service still
    // delivers): every delivery is shown, only the first ends loading.
    if (form->processPage->currentIndex() == 0)
        loadFinishedSlot();
}

void Uninstall::loadFinishedSlot()
{
    UninstallLog::debug(QStringLiteral("loading end!"));
    form->processPage->setCurrentIndex(1);
    form->loadingLab->hide();
}

void Uninstall::mousePressEvent(QMouseEvent* event)
{
    // A press anywhere else in the window takes the keyboard focus from the two text boxes.
    for (QWidget* box :
        { static_cast<QWidget*>(form->causeEdit), static_cast<QWidget*>(form->emailEdit) }) {
        if (box->hasFocus() && !box->rect().contains(box->mapFrom(this, event->pos())))
            box->clearFocus();
    }
    QWidget::mousePressEvent(event);
}

void Uninstall::mouseReleaseEvent(QMouseEvent* event)
{
    dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void Uninstall::mouseMoveEvent(QMouseEvent* event)
{
    dragging = true;
    QWidget::mouseMoveEvent(event);
}

void Uninstall::keyPressEvent(QKeyEvent* event)
{
    // Only the current page's buttons are visible, so they tell the page: Return goes on,
    // Escape takes the page's way out. While files are deleted neither is there.
    const auto shown = [](std::initializer_list<QAbstractButton*> buttons) -> QAbstractButton* {
        for (QAbstractButton* button : buttons) {
            if (button->isVisible())
                return button;
        }
        return nullptr;
    };
    QAbstractButton* primary = shown(
        { form->btnContinue_1, form->btnContinue_2, form->btnContinue_3, form->btnComplete });
    QAbstractButton* escape
        = shown({ form->btnCancel_1, form->btnCancel_2, form->btnCancel_3, form->btnClose });
    if (!DialogKeys::press(this, event, primary, escape))
        TernMainWindowBase::keyPressEvent(event);
}

void Uninstall::closeEvent(QCloseEvent* event)
{
    // A close from the window system takes the wizard's own way out; while files are being
    // deleted there is no way out until the removal has finished.
    event->ignore();
    if (deletionThread && deletionThread->isRunning())
        return;
    close();
}
