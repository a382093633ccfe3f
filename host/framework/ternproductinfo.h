#pragma once

#include "ternframework_export.h"

#include <QString>

// Identity and parameters of the installed product, from its description file.
class TERNFRAMEWORK_EXPORT TernProductInfo {
public:
    static TernProductInfo* instance();

    // A named product parameter as text; empty when unset. A parameter given per language
    // (an object) answers the entry of `variant`, or its "" entry for an empty variant.
    QString extendParam(const QString& name, const QString& variant) const;

    QString productName(const QString& variant) const;
    QString productVersion(const QString& variant) const;
    QString GUID(const QString& variant) const;
    QString productID() const;
    QString brand() const;
    QString defaultSkin() const;
    QString defaultLanguage() const;
    QString afterUninstallUrl(const QString& productId, bool* ok) const;
    QString purchaseUrl(const QString& source, bool* ok) const;
    // The discount the host's uninstaller hands to the wizard; 0 when it gives none.
    int uninstallDiscount() const;

    // Stand-in only: reads the description file again after a test or tool rewrote it.
    static void reloadDescription();

private:
    TernProductInfo() = default;
};
