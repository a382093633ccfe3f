// The cause-choice document: a choice the worker takes offers at least one cause; keys, flag
// and user count come from the top of the document and the language's entry only.

#include "fuzzcheck.h"

#include "content/contentdocuments.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ContentDocuments;
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("fr") }) {
        const Document document = readDocument(bytes, { language, QStringLiteral("en") });
        if (document.kind != Kind::CauseChoice) {
            FUZZ_CHECK(document.choice.keys.isEmpty() && !document.choice.causeCheck
                    && document.choice.users.isEmpty(),
                QStringLiteral("a choice from another kind"));
            continue;
        }
        FUZZ_CHECK(document.usable() == !document.choice.keys.isEmpty(),
            QStringLiteral("%1 keys").arg(document.choice.keys.size()));

        // Written back with its keys under the language, the choice reads the same.
        const QJsonObject root {
            { QStringLiteral("uninstallChose"),
                QJsonObject { { language,
                    QJsonArray::fromStringList(QStringList(document.choice.keys.toList())) } } },
            { QStringLiteral("uninstallCuaseCheck"), document.choice.causeCheck },
            { QStringLiteral("users"), document.choice.users }
        };
        const Document again = readDocument(
            QJsonDocument(root).toJson(QJsonDocument::Compact), { language, QStringLiteral("en") });
        FUZZ_CHECK(again.choice.keys == document.choice.keys
                && again.choice.causeCheck == document.choice.causeCheck
                && again.choice.users == document.choice.users,
            QStringLiteral("the choice does not read back"));
    }
    return 0;
}
