// The price file: a discount is a percentage from 0 to 100 or none at all.

#include "fuzzcheck.h"

#include "content/pricefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh_CN") }) {
        bool malformed = false;
        const int discount = PriceFile::discount(bytes, language, QStringLiteral("en"), &malformed);
        FUZZ_CHECK(discount == PriceFile::kNoDiscount || (discount >= 0 && discount <= 100),
            QString::number(discount));
        FUZZ_CHECK(!malformed || discount == PriceFile::kNoDiscount, QString::number(discount));
    }
    return 0;
}
