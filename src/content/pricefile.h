#pragma once

#include <QByteArray>
#include <QString>

// The product's price file ("price.json"): a discount percentage per language code, each
// written as a JSON string.
namespace PriceFile {

// The failure to read a discount: the window keeps the host's or its own.
constexpr int kNoDiscount = -1;

// The discount of `language`, else that of the product's default language; kNoDiscount when
// the bytes are no JSON or the value is no string holding a percentage from 0 to 100.
// `malformed` tells the first case apart for the log.
int discount(const QByteArray& file, const QString& language, const QString& defaultLanguage,
    bool* malformed = nullptr);

} // namespace PriceFile
