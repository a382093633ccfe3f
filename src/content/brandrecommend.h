#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The product's own texts for one wizard page in the current language, from
// "brand_recommend.json" in the product folder; empty when the file has none. Read afresh on
// every call, so an edited file counts at once.
QStringList brandRecommendTexts(const QString& pageKey);

// The texts of `pageKey` in `language` that the bytes of a brand file hold. Bytes that are no
// JSON give none and set *malformed.
QStringList brandTexts(const QByteArray& file, const QString& pageKey, const QString& language,
    bool* malformed = nullptr);
