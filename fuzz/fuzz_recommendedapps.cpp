// The recommended-apps document: at most 24 cards, each icon fetched from the web into the
// download folder or not at all, and what the document says reaches the cards unchanged.

#include "fuzzcheck.h"

#include "content/contentdocuments.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using namespace ContentDocuments;

// The applications written back as a document of their own.
QByteArray written(const QVector<RecommendedApp>& apps)
{
    QJsonArray list;
    for (const RecommendedApp& app : apps)
        list.append(QJsonObject { { QStringLiteral("icon"), app.app.icon },
            { QStringLiteral("name"), app.app.name }, { QStringLiteral("url"), app.app.url },
            { QStringLiteral("pic_url"), app.picUrl } });
    const QJsonObject root { { QStringLiteral("recommendApp"),
        QJsonObject { { QStringLiteral("en"), list } } } };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("de") }) {
        const Document document = readDocument(bytes, { language, QStringLiteral("en") });
        FUZZ_CHECK(
            document.parseFailure.isEmpty() || document.kind == Kind::None, document.parseFailure);
        if (document.kind != Kind::RecommendedApps) {
            FUZZ_CHECK(document.apps.isEmpty(), QStringLiteral("applications of another kind"));
            continue;
        }
        FUZZ_CHECK(document.usable(), QStringLiteral("applications refused"));
        FUZZ_CHECK(
            document.apps.size() <= kMaxRecommendedApps, QString::number(document.apps.size()));
        for (const RecommendedApp& app : document.apps)
            FuzzCheck::checkDownload({ QUrl(app.picUrl, QUrl::TolerantMode), app.app.icon });

        const Document again = readDocument(written(document.apps), { QStringLiteral("en"), {} });
        FUZZ_CHECK(recApps(again.apps) == recApps(document.apps),
            QStringLiteral("%1 applications read back as %2")
                .arg(document.apps.size())
                .arg(again.apps.size()));
    }
    return 0;
}
