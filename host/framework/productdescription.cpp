#include "productdescription.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {

ProductDescription& instance()
{
    static ProductDescription description;
    return description;
}

QString text(const QJsonObject& object, const char* key, const QString& fallback = {})
{
    const QString value = object.value(QLatin1String(key)).toString();
    return value.isEmpty() ? fallback : value;
}

// The name and the organisation become folder and file names (settings, log, analytics,
// downloads, the updater): each must stay one path component inside its parent.
QString component(const QJsonObject& object, const char* key, const QString& fallback)
{
    QString value = text(object, key, fallback);
    value.replace(QLatin1Char('/'), QLatin1Char('_'));
    value.replace(QLatin1Char('\\'), QLatin1Char('_'));
    value.replace(QLatin1String(".."), QLatin1String("_"));
    value = value.trimmed();
    return value.isEmpty() || value == QLatin1String(".") ? fallback : value;
}

} // namespace

const ProductDescription& ProductDescription::current()
{
    return instance();
}

void ProductDescription::reload()
{
    ProductDescription fresh;
    fresh.installDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                    : QDir::currentPath();
    QFile file(fresh.installDir + QStringLiteral("/product.json"));
    QJsonObject object;
    if (file.open(QIODevice::ReadOnly))
        object = QJsonDocument::fromJson(file.readAll()).object();

    fresh.name = component(object, "name", QStringLiteral("Product"));
    fresh.version = text(object, "version", QStringLiteral("1.0.0"));
    fresh.guid = text(object, "guid");
    fresh.productId = text(object, "productId");
    fresh.brand = text(object, "brand");
    fresh.organization = component(object, "organization", QStringLiteral("Tern"));
    fresh.defaultSkin = text(object, "defaultSkin", QStringLiteral("default"));
    fresh.defaultLanguage = text(object, "defaultLanguage", QStringLiteral("en"));
    fresh.resourceRoot
        = QDir(fresh.installDir)
              .absoluteFilePath(text(object, "resourceRoot", QStringLiteral("resources")));
    fresh.afterUninstallUrl = text(object, "afterUninstallUrl");
    fresh.purchaseUrl = text(object, "purchaseUrl");
    fresh.uninstallDiscount = object.value(QStringLiteral("uninstallDiscount")).toInt();
    fresh.extendParams = object.value(QStringLiteral("extendParams")).toObject();
    instance() = fresh;
}
