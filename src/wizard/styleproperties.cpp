// What the skin tunes beyond a style sheet: the style properties, the start-up texts built
// from them, the placement pass on every paint, and the language chooser.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "entry/logging.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "widgets/accessiblerole.h"
#include "widgets/frmuser.h"

#include "appoptions.h"
#include "cusiconlabel.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTextDocumentFragment>

namespace {

const int kDefaultDiscount = 20;

// The host's discount, when it registered a record with one.
int hostDiscount()
{
    UninstallRegMgr* holder = UninstallRegMgr::holder();
    UninstallContext* context = holder ? holder->context() : nullptr;
    return context ? context->discount : 0;
}

// The skin's unitless sizes are written for the base zoom, like its lengths, which the host
// scales when it applies the skin.
double zoom()
{
    return TernResourceMgr::getZoomDPI() / TernResourceMgr::getBaseZoomDPI();
}

int zoomedPixels(int pixels)
{
    return qRound(pixels * zoom());
}

QString zoomedPoints(int points)
{
    return QString::number(points * zoom());
}

// The width of a line of text in `font` taken back to the base zoom.
int baseWidth(QFont font, const QString& text)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() / zoom());
    else
        font.setPixelSize(qRound(font.pixelSize() / zoom()));
    return QFontMetrics(font).boundingRect(text).width();
}

template <typename T> void storeWhenDifferent(T& field, const T& value)
{
    if (field != value)
        field = value;
}

} // namespace

void Uninstall::setTextColor(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("bind TextColor:") + value);
    m_textColors = value.split(QLatin1Char('*'));
}

void Uninstall::setLoadingLab(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("Uninstall bind LodingGif: ") + value);
    m_loadingPath = value;
}

void Uninstall::setTextWeight(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("bind TextWeight:") + value);
    m_textWeights = value.split(QLatin1Char('*'));
}

void Uninstall::setLineHeight(const QString& value)
{
    if (value.isEmpty())
        return;
    UninstallLog::debug(QStringLiteral("bind lineHeight:") + value);
    m_lineHeight = value;
}

void Uninstall::setFontWeight(int value)
{
    storeWhenDifferent(m_fontWeight, value);
}
void Uninstall::setFontSize(int value)
{
    storeWhenDifferent(m_fontSize, value);
}
void Uninstall::setClrTitleText(const QColor& value)
{
    storeWhenDifferent(m_clrTitleText, value);
}
void Uninstall::setPruchasePos(const QSize& value)
{
    storeWhenDifferent(m_pruchasePos, value);
}
void Uninstall::setFrmUserPos(const QSize& value)
{
    storeWhenDifferent(m_frmUserPos, value);
}
void Uninstall::setFontPurchaseSize(int value)
{
    storeWhenDifferent(m_fontPurchaseSize, value);
}
void Uninstall::setTextMinWidth(int value)
{
    storeWhenDifferent(m_textMinWidth, value);
}
void Uninstall::setTextFixWidth(int value)
{
    storeWhenDifferent(m_textFixWidth, value);
}

void Uninstall::initUI()
{
    const QString productName = TernProductInfo::instance()->productName(QString());
    form->titleLab->setText(
        QCoreApplication::translate("QObject", "Uninstall %1").arg(productName));
    // The window has no title of its own: assistive technology names it after its title bar.
    setAccessibleName(form->titleLab->text());

    m_discount = hostDiscount();
    if (m_discount == 0) {
        m_discount = kDefaultDiscount;
        const int price = readPrice(TernResourceMgr::instance()->currentLanguage());
        if (price > 0)
            m_discount = price;
    }

    applyDiscountTexts();
    form->thinkLab->setText(QCoreApplication::translate(
        "QObject", "Thank you for your use and feedback. Uninstalling..."));
    form->lblUninstalling->show();
    form->lblUninstallEnd->hide();
    form->lblRemovalNote->hide();

    m_sticker = new QLabel(form->purchaseBackground);
    m_sticker->setObjectName(QStringLiteral("uninstall_Sticker1"));
    m_sticker->show();

    form->purchaseBtn->setText(
        tr("<html><head/><body><p>Buy Now with <span style=\"font-size:%1pt; "
           "font-weight:%2; color:%3;\">%4%</span> OFF</p></body></html>")
            .arg(zoomedPoints(m_fontSize), QString::number(m_fontWeight), m_clrTitleText.name(),
                QString::number(m_discount)));
    // The frame around the sentence is what the user presses; the picture is no control.
    AccessibleRole::set(form->frmPurchaseBtn, QAccessible::Button);
    form->frmPurchaseBtn->setAccessibleName(
        QTextDocumentFragment::fromHtml(form->purchaseBtn->text()).toPlainText().simplified());
    AccessibleRole::set(form->purchaseImg, QAccessible::Graphic);

    m_frmUser = new FrmUser(form->CauseLeftBg);
    m_frmUser->show();

    form->frmPurchaseBtn->installEventFilter(this);
    form->frameEmail->hide();
    form->emailTitle->hide();
    form->btnComplete->setVisible(testMode);
    form->progressBar->setValue(0);
    form->processPage->setCurrentIndex(0);
    form->causePage_2->setCurrentIndex(0);
    form->optionFrame->setEnabled(false);
    form->btnContinue_2->setEnabled(false);
    form->causeEdit->setEnabled(false);
    form->changeLangFrame->setVisible(testMode);
    form->purchaseBtn1->hide();
    form->purchaseImg->show();
    form->loadingLab->hide();
    form->lblLoadingPng->show();
    form->frmUpdateInfo->raise();

    AppOptions::instance()->setLogoIconByProName(form->titleLogo);
    form->titleLogo->setStyle(QApplication::style());
    form->titleLogo->setIconType(cusIconLabel::EIconType(3));
}

void Uninstall::applyDiscountTexts()
{
    if (m_textWeights.size() < 2 || m_textColors.size() < 2)
        return;
    UninstallLog::debug(QStringLiteral("initUI labInit!"));
    const QString sentence = QCoreApplication::translate("QObject",
        "<html><head/><body><p style='line-height: %1'>You can enjoy the largest discount ever "
        "<span "
        "style='font-size:%4pt; font-weight:%2; color:%3;'>- %5% OFF</span></p></body></html>")
                                 .arg(m_lineHeight, m_textWeights.at(0), m_textColors.at(0),
                                     zoomedPoints(m_fontPurchaseSize), QString::number(m_discount));
    form->updateTipLab->setText(
        form->updateTipLab->text().replace(QStringLiteral("%1"), m_lineHeight));
    form->purchaseLab->setText(sentence);
}

void Uninstall::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    placeFloatingWidgets();
}

void Uninstall::placeFloatingWidgets()
{
    if (form->frameUpdateLab_2->isVisible())
        form->frameUpdateLab_2->hide();
    if (form->frameHintLab->isVisible())
        form->frameHintLab->hide();

    if (m_sticker) {
        // The corner is taken in window coordinates and used as is in the sticker's parent.
        const QPoint corner
            = form->framePurchase->mapTo(this, QPoint(form->framePurchase->width() - 1, 0));
        m_sticker->move(corner + QPoint(m_pruchasePos.width(), m_pruchasePos.height()));
    }
    if (m_frmUser) {
        const QPoint centre((form->hintImg->width() - 1) / 2, (form->hintImg->height() - 1) / 2);
        m_frmUser->move(centre + QPoint(m_frmUserPos.width(), m_frmUserPos.height()));
        m_frmUser->raise();
    }

    // Whether the text wraps is decided at the base zoom: zooming never wraps a text that fits
    // on one line at 100 %.
    QLabel* think = form->thinkLab;
    const int textWidth = QFontMetrics(think->font()).boundingRect(think->text()).width();
    const int width = baseWidth(think->font(), think->text()) >= m_textMinWidth
        ? zoomedPixels(m_textMinWidth)
        : textWidth + zoomedPixels(m_textFixWidth);
    if (think->minimumWidth() != width || think->maximumWidth() != width)
        think->setFixedWidth(width);
}

void Uninstall::on_changeLanguage(int)
{
    TernSettings::instance()->setLanguage(form->comboBox->currentText());
    uninstallAborted = true;
    QCoreApplication::quit();
}
