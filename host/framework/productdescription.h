#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// The product description file ("product.json") of the installation directory.
class ProductDescription {
public:
    static const ProductDescription& current();
    // Reads the file again (after init or when a test rewrote it).
    static void reload();
    // The description the bytes of a file give; whatever is missing or unusable takes its
    // default.
    static ProductDescription parse(const QByteArray& file, const QString& installDir);

    QString installDir;
    QString name;
    QString version;
    QString guid;
    QString productId;
    QString brand;
    QString organization;
    QString defaultSkin;
    QString defaultLanguage;
    QString resourceRoot;
    QString afterUninstallUrl;
    QString purchaseUrl;
    int uninstallDiscount = 0;
    QJsonObject extendParams;
};
