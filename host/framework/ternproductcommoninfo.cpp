#include "ternproductcommoninfo.h"

#include "ternsettings.h"

TernProductCommonInfo* TernProductCommonInfo::instance()
{
    static TernProductCommonInfo info;
    return &info;
}

void TernProductCommonInfo::removeRecentRecords(const QString& productId)
{
    TernSettings::instance()->setValue(QStringLiteral("common/recentRemoved"), productId);
}

void TernProductCommonInfo::resetProductState(const QString& productId)
{
    TernSettings::instance()->setValue(QStringLiteral("common/stateReset"), productId);
}
