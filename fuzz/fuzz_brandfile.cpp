// The brand file: a file that is no JSON gives no texts and is reported; otherwise a page gets
// one text per entry of its language's list, and nothing from another page or language.

#include "fuzzcheck.h"

#include "content/brandrecommend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    // What the file holds when read as text, the way the frames read it.
    const QJsonObject pages = QJsonDocument::fromJson(QString::fromUtf8(bytes).toUtf8()).object();
    for (const QString& page :
        { QStringLiteral("uninstall_page0"), QStringLiteral("uninstall_page1") }) {
        for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh_CN") }) {
            bool malformed = false;
            const QStringList texts = brandTexts(bytes, page, language, &malformed);
            FUZZ_CHECK(!malformed || texts.isEmpty(), QString::number(texts.size()));
            const QJsonValue entry = pages.value(page).toObject().value(language);
            FUZZ_CHECK(texts.size() == (entry.isArray() ? entry.toArray().size() : 0),
                page + QLatin1Char(' ') + language + QStringLiteral(": %1").arg(texts.size()));
        }
    }
    return 0;
}
