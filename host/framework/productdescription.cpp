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
// downloads, the updater), the skin and the language name a folder and files of the
// resources: each must stay one path component inside its parent.
QString component(const QJsonObject& object, const char* key, const QString& fallback)
{
    QString value = text(object, key, fallback);
    value.replace(QLatin1Char('/'), QLatin1Char('_'));
    value.replace(QLatin1Char('\\'), QLatin1Char('_'));
    value.replace(QLatin1Char(':'), QLatin1Char('_')); // a drive or a stream on Windows
    value.replace(QChar(0), QLatin1Char('_')); // where a C string would end
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
    const QString installDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                            : QDir::currentPath();
    QFile file(installDir + QStringLiteral("/product.json"));
    instance() = parse(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), installDir);
}

ProductDescription ProductDescription::parse(const QByteArray& file, const QString& installDir)
{
    const QJsonObject object = QJsonDocument::fromJson(file).object();
    ProductDescription description;
    description.installDir = installDir;
    description.name = component(object, "name", QStringLiteral("Product"));
    description.version = text(object, "version", QStringLiteral("1.0.0"));
    description.guid = text(object, "guid");
    description.productId = text(object, "productId");
    description.brand = text(object, "brand");
    description.organization = component(object, "organization", QStringLiteral("Tern"));
    description.defaultSkin = component(object, "defaultSkin", QStringLiteral("default"));
    description.defaultLanguage = component(object, "defaultLanguage", QStringLiteral("en"));
    description.resourceRoot
        = QDir(installDir)
              .absoluteFilePath(text(object, "resourceRoot", QStringLiteral("resources")));
    description.afterUninstallUrl = text(object, "afterUninstallUrl");
    description.purchaseUrl = text(object, "purchaseUrl");
    description.uninstallDiscount = object.value(QStringLiteral("uninstallDiscount")).toInt();
    description.extendParams = object.value(QStringLiteral("extendParams")).toObject();
    return description;
}
