#include "widgets/recframe.h"

#include "ui_recframe.h"

#include "entry/logging.h"

#include "ternga.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"

#include <QDesktopServices>
#include <QPixmap>
#include <QUrl>

namespace {

// Pictures are drawn at half their pixel size, then scaled by the display zoom.
QSize zoomedHalfSize(const QSize& pictureSize)
{
    const double zoom = RecFrame::zoomFactor();
    const int halfWidth = qRound(pictureSize.width() / 2.0);
    const int halfHeight = qRound(pictureSize.height() / 2.0);
    return QSize(qRound(halfWidth * zoom), qRound(halfHeight * zoom));
}

// A missing picture stays null (and sizes its card 0 x 0) without a scaling warning.
QPixmap scaledPicture(const QPixmap& picture, const QSize& size)
{
    if (picture.isNull())
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

RecFrame::RecFrame(QWidget* parent)
    : QFrame(parent)
    , form(new Ui::RecFrame)
{
    UninstallLog::debug(QStringLiteral("RecFrame init!"));
    form->setupUi(this);
    // The name takes what the card has to spare, so the button sits at the same height on
    // every card, whether the name needs one line or two.
    form->verticalLayout->setStretchFactor(form->verticalFrame, 1);
    form->verticalLayout_5->setStretchFactor(form->FrameRecName, 1);
}

RecFrame::~RecFrame()
{
    UninstallLog::debug(QStringLiteral("RecFrame ~RecFrame!"));
    delete form;
}

double RecFrame::zoomFactor()
{
    const QString noDpiChange
        = TernProductInfo::instance()->extendParam(QStringLiteral("NoUserDpiChange"), QString());
    if (noDpiChange.toInt(nullptr, 10) == 1)
        return 1.0;
    return TernResourceMgr::getZoomDPI();
}

void RecFrame::setBackground(const QString& bgPath)
{
    UninstallLog::debug(QStringLiteral("RecFrame::setBackground bgPath:") + bgPath);
    setPalette(getFrameBackground(bgPath));
    setFixedSize(cardSize);
    setAutoFillBackground(true);
}

QPalette RecFrame::getFrameBackground(const QString& path)
{
    UninstallLog::debug(QStringLiteral("RecFrame::getFrameBackground iconPath:") + path);
    QPalette palette;
    const QPixmap picture(path);
    cardSize = zoomedHalfSize(picture.size());
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(scaledPicture(picture, cardSize)));
    return palette;
}

void RecFrame::setIcon(const QString& iconPath)
{
    UninstallLog::debug(QStringLiteral("RecFrame::setIcon iconPath:") + iconPath);
    const QPixmap picture(iconPath);
    form->recIcon->setPixmap(scaledPicture(picture, zoomedHalfSize(picture.size())));
    form->recIcon->setAlignment(Qt::AlignCenter);
}

QWidget* RecFrame::linkButton() const
{
    return form->btnRecUrl;
}

void RecFrame::setName(const QString& name)
{
    form->recName->setText(name);
    nameLinkButton();
}

void RecFrame::setBtnText(const QString& text)
{
    form->btnRecUrl->setText(text);
    nameLinkButton();
}

void RecFrame::nameLinkButton()
{
    form->btnRecUrl->setAccessibleName(
        tr("%1 about %2").arg(form->btnRecUrl->text(), form->recName->text()));
}

void RecFrame::setBtnUrl(const QString& url)
{
    UninstallLog::debug(QStringLiteral("RecFrame::setBtnUrl Url:") + url);
    const QUrl link(url, QUrl::TolerantMode);
    connect(
        form->btnRecUrl, &QPushButton::clicked, form->btnRecUrl,
        [this, link] {
            // The name is read at click time: it is what the user saw on the card.
            TERNGA::instance()->CEIP(QStringLiteral("offload_retention"),
                QStringLiteral("click_recommend_") + form->recName->text(), TERNGA::Event,
                QString(), 0);
            QDesktopServices::openUrl(link);
        },
        Qt::DirectConnection);
}
