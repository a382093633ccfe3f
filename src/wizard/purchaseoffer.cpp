// The purchase offer: price file, banner and promotion pictures, and the buy actions.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "content/localfiles.h"
#include "content/pricefile.h"
#include "content/urlhandler.h"
#include "entry/logging.h"

#include "ternga.h"
#include "ternlog.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace {

QString defaultPicture(const QString& folder, const QString& language)
{
    return TernResourceMgr::instance()->productResourceRoot() + QStringLiteral("/uninstallConfig/")
        + folder + QLatin1Char('/') + language.toLower() + QStringLiteral(".png");
}

// The downloaded picture of a kind ("banner", "promotion") for the current language, else the
// shipped one of the wizard's language, else that of the product's default language. Files that
// could block or swamp the window count as missing.
QString offerPicture(const QString& kind, const QString& missingLine)
{
    const QString downloaded = UrlHandler::downloadDirectory()
        + QStringLiteral("%1_pic_%2.png").arg(kind, TernResourceMgr::instance()->currentLanguage());
    if (LocalFiles::isUsablePicture(downloaded))
        return downloaded;
    UninstallLog::debug(missingLine);
    const QString folder = kind + QStringLiteral("_pic");
    const QString defaultLanguage = TernProductInfo::instance()->defaultLanguage();
    const QString shipped
        = defaultPicture(folder, TernSettings::instance()->language(defaultLanguage));
    return LocalFiles::isUsablePicture(shipped) ? shipped : defaultPicture(folder, defaultLanguage);
}

} // namespace

int Uninstall::readPrice(const QString& language) const
{
    QFile file(TernResourceMgr::instance()->productResourceRoot()
        + QStringLiteral("/uninstallConfig/price.json"));
    if (!LocalFiles::isRegularFile(file.fileName())
        || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LogL("Uninstall", 5, "price.json file open error! will return!");
        return PriceFile::kNoDiscount;
    }
    const QByteArray data = file.readAll();
    file.close();
    bool malformed = false;
    const int discount = PriceFile::discount(
        data, language, TernProductInfo::instance()->defaultLanguage(), &malformed);
    if (malformed)
        LogL("Uninstall", 5, "parseJsonErr.error");
    return discount;
}

QString Uninstall::bannerPicture() const
{
    return offerPicture(
        QStringLiteral("banner"), QStringLiteral("Uninstall downLoad banner_pic not exists!"));
}

QString Uninstall::promotionPicture() const
{
    return offerPicture(QStringLiteral("promotion"),
        QStringLiteral("Uninstall downLoad promotion__pic not exists!"));
}

void Uninstall::uninstallSkin(QString bannerName, QString promotionName)
{
    UninstallLog::debug(QStringLiteral("Uninstall bind purchase img :") + bannerName
        + QStringLiteral(" || and promotion img:") + promotionName);
    form->discountBg->setStyleSheet(
        QStringLiteral("Uninstall #discountBg{border-image: url(%1) 0;}").arg(bannerName));
    form->purchaseImg->setStyleSheet(
        QStringLiteral("Uninstall #purchaseImg{border-image: url(%1) 0;}").arg(promotionName));
}

bool Uninstall::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress;
    const bool release = type == QEvent::MouseButtonRelease;
    if (watched == form->frmPurchaseBtn && press) {
        buyFrom(QStringLiteral("buy"));
    } else if (watched == form->frmPurchaseBtn && type == QEvent::KeyPress) {
        // The frame is the "Buy Now" button of the keyboard and of assistive technology.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()
            && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return
                || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Select)) {
            buyFrom(QStringLiteral("buy"));
            return true;
        }
    } else if (watched == form->framePurchase && (press || release)) {
        form->purchaseBtn1->setDown(press);
    } else if (watched == form->discountBg && (press || release)) {
        form->btnDiscount->setDown(press);
        if (release)
            form->btnDiscount->click();
    }
    return TernMainWindowBase::eventFilter(watched, event);
}

void Uninstall::buyFrom(const QString& button)
{
    sendEvent(QStringLiteral("btn_") + button);
    TERNGA::instance()->CEIP(QStringLiteral("openpurchasebehavior"),
        QStringLiteral("openpurchaseurl"), TERNGA::Event, QStringLiteral("uninstall_btn_") + button,
        0);
    onPurchaseDlgSlot();
}

void Uninstall::onPurchaseDlgSlot()
{
    if (dragging)
        return;
    const QString address = TernProductInfo::instance()->purchaseUrl(QString(), nullptr);
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}
