#include "content/pricefile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace PriceFile {

int discount(const QByteArray& file, const QString& language, const QString& defaultLanguage,
    bool* malformed)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file, &error);
    if (malformed)
        *malformed = error.error != QJsonParseError::NoError;
    if (error.error != QJsonParseError::NoError)
        return kNoDiscount;
    // A language the file does not price takes the product's default language's discount.
    const QJsonObject prices = document.object();
    QJsonValue value = prices.value(language);
    if (value.isUndefined())
        value = prices.value(defaultLanguage);
    if (!value.isString())
        return kNoDiscount;
    // "150 % off" is a typing error, not an offer.
    bool ok = false;
    const int percent = value.toString().toInt(&ok);
    return ok && percent >= 0 && percent <= 100 ? percent : kNoDiscount;
}

} // namespace PriceFile
