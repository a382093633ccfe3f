#include "removal/afteruninstall.h"

#include "entry/logging.h"

#include "terninstallinfo.h"
#include "ternproductcommoninfo.h"
#include "ternproductinfo.h"

#include <QDesktopServices>
#include <QUrl>

namespace AfterUninstall {

void run(WebPage webPage)
{
    UninstallLog::debug(QStringLiteral("uninstsall After"));
    TernProductInfo* product = TernProductInfo::instance();
    const QString productId = product->productID();
    if (webPage == OpenWebPage)
        QDesktopServices::openUrl(
            QUrl(product->afterUninstallUrl(productId, nullptr), QUrl::TolerantMode));
    TernInstallInfo::deregisterInstall();
    TernProductCommonInfo::instance()->removeRecentRecords(productId);
    TernProductCommonInfo::instance()->resetProductState(productId);
}

} // namespace AfterUninstall
