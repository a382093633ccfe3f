#include "widgets/clickedstackedwidget.h"

#include "ui_clickedstackedwidget.h"

#include "content/contentdocuments.h"
#include "content/localfiles.h"
#include "content/urlhandler.h"
#include "entry/logging.h"
#include "widgets/recframe.h"

#include "ternresourcemgr.h"

#include <QCoreApplication>
#include <QHBoxLayout>

namespace {

// Cards show the downloaded icon and fall back to the one shipped with the product.
QString iconPath(const RecApp& app)
{
    // A document's file name never leads a card outside the two icon folders.
    if (!ContentDocuments::isSafeFileName(app.icon)) {
        UninstallLog::error(QStringLiteral("refused icon file name: ") + app.icon);
        return {};
    }
    // A file that could block or swamp the window counts as missing.
    const QString downloaded = UrlHandler::downloadDirectory() + app.icon;
    if (LocalFiles::isUsablePicture(downloaded))
        return downloaded;
    UninstallLog::error(QStringLiteral("recApp icon not exists:") + app.name);
    return TernResourceMgr::instance()->productResourceRoot()
        + QStringLiteral("/uninstallConfig/recAppIcon/") + app.icon;
}

} // namespace

ClickedStackedWidget::ClickedStackedWidget(QWidget* parent)
    : QWidget(parent)
    , form(new Ui::ClickedStackedWidget)
{
    // The skin's properties must be in place before the form and the cards use them.
    ensurePolished();
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget init!"));
    form->setupUi(this);
    connect(form->btnPre, &QToolButton::clicked, this, &ClickedStackedWidget::onBtnPrePage);
    connect(form->btnNext, &QToolButton::clicked, this, &ClickedStackedWidget::onBtnNextPage);
    form->btnPre->hide();
    form->btnNext->hide();
}

ClickedStackedWidget::~ClickedStackedWidget()
{
    delete form;
}

void ClickedStackedWidget::setFrameRecBg(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget bind frameRecbg: ") + value);
    backgroundNames = value.split(QLatin1Char('*'), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

void ClickedStackedWidget::setSkinPath(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget bind skinPath: ") + value);
    skinFolder = value;
}

void ClickedStackedWidget::removePages()
{
    for (int i = form->recWidget->count() - 1; i >= 0; --i) {
        QWidget* page = form->recWidget->widget(i);
        form->recWidget->removeWidget(page);
        delete page;
    }
}

void ClickedStackedWidget::setRecAppInfos(const QVector<RecApp>& apps)
{
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget setRecAppInfos run!"));
    removePages();

    const int appCount = apps.size();
    // Without background names the skin gave no card count: show the cards one by one, bare.
    const bool bare = backgroundNames.isEmpty();
    if (bare && appCount > 0)
        UninstallLog::error(
            QStringLiteral("ClickedStackedWidget FrameRecBg empty, one card per page"));
    const int perPage = bare ? 1 : backgroundNames.size();
    const int pageCount = appCount / perPage + (appCount % perPage ? 1 : 0);

    if (appCount > 4) {
        form->btnNext->show();
        form->btnPre->show();
    }

    const int gap = int(cardSpacing * RecFrame::zoomFactor());
    const QString learnMore = QCoreApplication::translate("QObject", "Learn More");
    // Cards are made after the rest of the window: Tab reaches them between the two arrows.
    QWidget* previous = form->btnPre;
    int a = 0;
    for (int p = 0; p < pageCount; ++p) {
        auto* page = new QWidget(form->recWidget);
        form->recWidget->addWidget(page);
        auto* layout = new QHBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        for (int i = 0; i < perPage && a < appCount; ++i, ++a) {
            auto* card = new RecFrame(this);
            if (!bare)
                card->setBackground(skinFolder + backgroundNames.at(i));
            card->setIcon(iconPath(apps.at(a)));
            card->setName(apps.at(a).name);
            card->setBtnText(learnMore);
            card->setBtnUrl(apps.at(a).url);
            layout->insertWidget(2 * i, card);
            layout->addSpacing(gap);
            QWidget::setTabOrder(previous, card->linkButton());
            previous = card->linkButton();
        }
        layout->addSpacerItem(
            new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Preferred));
    }
    QWidget::setTabOrder(previous, form->btnNext);
}

void ClickedStackedWidget::onBtnNextPage()
{
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget onBtnNextPage run!"));
    int index = form->recWidget->currentIndex() + 1;
    if (index > form->recWidget->count() - 1)
        index = 0;
    form->recWidget->setCurrentIndex(index);
}

void ClickedStackedWidget::onBtnPrePage()
{
    UninstallLog::debug(QStringLiteral("ClickedStackedWidget onBtnPrePage run!"));
    int index = form->recWidget->currentIndex() - 1;
    if (index < 0)
        index = form->recWidget->count() - 1;
    form->recWidget->setCurrentIndex(index);
}
