// The service configuration: the settings never keep more than a short picture version, and
// every picture it names comes from the web into the download folder, or not at all.

#include "fuzzcheck.h"

#include "content/contentdocuments.h"

#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace ContentDocuments;
    QJsonDocument document;
    QString failure;
    if (!parseDocument(FuzzCheck::bytes(data, size), &document, &failure)) {
        FUZZ_CHECK(!failure.isEmpty(), QStringLiteral("invalid JSON without a log line"));
        return 0;
    }
    // Anything but an object loads the defaults; the profile tells that apart before this.
    const ServiceConfig config = serviceConfig(document.object());
    const int given = document.object().value(QStringLiteral("version")).toString().size();
    FUZZ_CHECK(config.version.size() <= kMaxVersionLength, config.version.left(100));
    FUZZ_CHECK((config.refusedVersionLength > 0) == (given > kMaxVersionLength),
        QStringLiteral("version of %1 characters").arg(given));
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh_CN") }) {
        const QList<DownloadItem> pictures = offerPictures(config, language);
        FUZZ_CHECK(pictures.size() == 2, QString::number(pictures.size()));
        for (const DownloadItem& picture : pictures)
            FuzzCheck::checkDownload(picture);
    }
    return 0;
}
