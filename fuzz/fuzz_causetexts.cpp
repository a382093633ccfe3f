// The cause-text document: the default path maps exactly the collected keys to their texts, and
// a text document the worker takes holds a text.

#include "fuzzcheck.h"

#include "content/contentdocuments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ContentDocuments;
    const QVector<QString> keys { QStringLiteral("slow"), QStringLiteral("crash"),
        QStringLiteral("price"), QStringLiteral("features"), QStringLiteral("other") };
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("de") }) {
        const Document document = readDocument(bytes, { language, QStringLiteral("en") });
        if (document.kind != Kind::CauseTexts) {
            FUZZ_CHECK(document.texts.isEmpty(), QStringLiteral("texts of another kind"));
            continue;
        }
        FUZZ_CHECK(document.usable() == !document.texts.isEmpty(),
            QString::number(document.texts.size()));
        const QMap<QString, QString> forKeys = textsForKeys(document.texts, keys);
        FUZZ_CHECK(forKeys.keys()
                == QList<QString>({ QStringLiteral("crash"), QStringLiteral("features"),
                    QStringLiteral("other"), QStringLiteral("price"), QStringLiteral("slow") }),
            QStringList(forKeys.keys()).join(QLatin1Char(',')));
        for (const QString& key : keys)
            FUZZ_CHECK(forKeys.value(key) == document.texts.value(key), key);
    }
    return 0;
}
