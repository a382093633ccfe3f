#include "entry/startupfont.h"

#include "ternproductinfo.h"
#include "ternresourcemgr.h"

#include <QFontDatabase>

bool isFontFamilyInstalled(const QString& family)
{
    const QStringList families = QFontDatabase().families();
    for (const QString& installed : families) {
        if (installed.compare(family, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int zoomedPointSize(double zoom, double baseZoom)
{
    // Rounded to single precision first, then truncated, as the host's own windows do.
    const float size = static_cast<float>(zoom * 10.0 / baseZoom);
    return static_cast<int>(size);
}

QFont startupFont(const QFont& applicationFont)
{
    QFont font = applicationFont;
    TernProductInfo* product = TernProductInfo::instance();
    const QString family = product->extendParam(QStringLiteral("fontFamily"), QString());
    if (!family.isEmpty()) {
        if (isFontFamilyInstalled(family)) {
            font = QFont(family);
        } else {
            const QString english
                = product->extendParam(QStringLiteral("fontFamily"), QStringLiteral("en"));
            if (isFontFamilyInstalled(english))
                font = QFont(english);
        }
    }
    font.setPointSize(
        zoomedPointSize(TernResourceMgr::getZoomDPI(), TernResourceMgr::getBaseZoomDPI()));
    return font;
}
