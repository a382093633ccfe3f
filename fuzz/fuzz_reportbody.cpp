// The report body the development service stores: every body is kept byte for byte, sorted
// by what it carries, and listed as one JSON line that tells the same.

#include "fuzzcheck.h"

#include "reportstore.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>

namespace {

QString expectedKind(const QByteArray& body)
{
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    if (object.contains(QLatin1String("userEmail")))
        return QStringLiteral("second");
    if (object.contains(QLatin1String("uninstallCause")))
        return QStringLiteral("first");
    return QStringLiteral("unknown");
}

// Every byte, a NUL too.
QString utf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

// A field as the store keeps it: UTF-8, into which Qt writes a broken surrogate as "?".
QString asText(const QJsonObject& object, const char* key)
{
    return utf8(object.value(QLatin1String(key)).toString().toUtf8());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body = FuzzCheck::bytes(data, size);
    // The request's path and type are text of the client's choosing as well.
    const QString text = utf8(body.left(64));
    ReportStore store;
    FUZZ_CHECK(
        store.open(QStringLiteral(":memory:"), ReportStore::Mode::Create), store.errorString());
    const ReportStore::Stored first
        = store.store(QStringLiteral("/report"), QStringLiteral("application/json"), body);
    const ReportStore::Stored second = store.store(text, text, body);
    FUZZ_CHECK(first.id == 1 && second.id == 2, store.errorString());
    FUZZ_CHECK(first.kind == expectedKind(body), first.kind);

    std::ostringstream listing;
    FUZZ_CHECK(store.list(listing) == 2, store.errorString());
    std::istringstream lines(listing.str());
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    std::string line;
    for (qint64 id = 1; std::getline(lines, line); ++id) {
        const QJsonObject listed
            = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        FUZZ_CHECK(listed.value(QLatin1String("id")).toInt() == id, QString::fromStdString(line));
        FUZZ_CHECK(
            listed.value(QLatin1String("body")).toString() == utf8(body), QStringLiteral("body"));
        FUZZ_CHECK(
            listed.value(QLatin1String("kind")).toString() == first.kind, QStringLiteral("kind"));
        FUZZ_CHECK(listed.value(QLatin1String("tid")).toString() == asText(object, "tid")
                && listed.value(QLatin1String("userId")).toString() == asText(object, "userId"),
            QString::fromStdString(line));
        const QString path = id == 1 ? QStringLiteral("/report") : text;
        FUZZ_CHECK(listed.value(QLatin1String("path")).toString() == path
                && listed.value(QLatin1String("contentType")).toString()
                    == (id == 1 ? QStringLiteral("application/json") : text),
            QStringLiteral("path ") + listed.value(QLatin1String("path")).toString());
    }
    return 0;
}
