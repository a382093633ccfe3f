#include "ternproductinfo.h"

#include "productdescription.h"

#include <QJsonObject>

TernProductInfo* TernProductInfo::instance()
{
    static TernProductInfo info;
    return &info;
}

QString TernProductInfo::extendParam(const QString& name, const QString& variant) const
{
    const QJsonValue value = ProductDescription::current().extendParams.value(name);
    if (value.isObject())
        return value.toObject().value(variant).toString();
    if (value.isDouble())
        return QString::number(value.toDouble());
    return value.toString();
}

QString TernProductInfo::productName(const QString&) const
{
    return ProductDescription::current().name;
}

QString TernProductInfo::productVersion(const QString&) const
{
    return ProductDescription::current().version;
}

QString TernProductInfo::GUID(const QString&) const
{
    return ProductDescription::current().guid;
}

QString TernProductInfo::productID() const
{
    return ProductDescription::current().productId;
}

QString TernProductInfo::brand() const
{
    return ProductDescription::current().brand;
}

QString TernProductInfo::defaultSkin() const
{
    return ProductDescription::current().defaultSkin;
}

QString TernProductInfo::defaultLanguage() const
{
    return ProductDescription::current().defaultLanguage;
}

QString TernProductInfo::afterUninstallUrl(const QString& productId, bool* ok) const
{
    QString url = ProductDescription::current().afterUninstallUrl;
    url.replace(QStringLiteral("{productId}"), productId);
    if (ok)
        *ok = !url.isEmpty();
    return url;
}

QString TernProductInfo::purchaseUrl(const QString&, bool* ok) const
{
    const QString url = ProductDescription::current().purchaseUrl;
    if (ok)
        *ok = !url.isEmpty();
    return url;
}

int TernProductInfo::uninstallDiscount() const
{
    return ProductDescription::current().uninstallDiscount;
}

void TernProductInfo::reloadDescription()
{
    ProductDescription::reload();
}
