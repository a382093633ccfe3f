#include "content/brandrecommend.h"

#include "content/localfiles.h"

#include "ternlog.h"
#include "ternresourcemgr.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QStringList brandRecommendTexts(const QString& pageKey)
{
    // A missing file reads as empty text, which fails to parse and is logged like a bad one;
    // so does anything but a regular file, which could block the window.
    QFile file(TernResourceMgr::instance()->productDir() + QStringLiteral("/brand_recommend.json"));
    const QByteArray bytes = LocalFiles::isRegularFile(file.fileName())
            && file.open(QIODevice::ReadOnly | QIODevice::Text)
        ? file.readAll()
        : QByteArray();
    file.close();

    bool malformed = false;
    const QStringList texts
        = brandTexts(bytes, pageKey, TernResourceMgr::instance()->currentLanguage(), &malformed);
    if (malformed)
        LogL("read brand_recommend.json", 5, "parseJsonErr.error");
    return texts;
}

QStringList brandTexts(
    const QByteArray& file, const QString& pageKey, const QString& language, bool* malformed)
{
    // Read as text: bytes that are no UTF-8 become replacement characters, not a parse error.
    QJsonParseError parseJsonErr;
    const QJsonDocument document
        = QJsonDocument::fromJson(QString::fromUtf8(file).toUtf8(), &parseJsonErr);
    if (malformed)
        *malformed = parseJsonErr.error != QJsonParseError::NoError;
    if (parseJsonErr.error != QJsonParseError::NoError)
        return {};

    const QJsonValue page = document.object().value(pageKey);
    if (!page.isObject())
        return {};
    const QJsonValue texts = page.toObject().value(language);
    if (!texts.isArray())
        return {};

    QStringList result;
    const QJsonArray array = texts.toArray();
    for (const QJsonValue& entry : array)
        result.append(entry.toString());
    return result;
}
