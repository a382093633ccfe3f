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
    const QString language = TernResourceMgr::instance()->currentLanguage();

    // A missing file reads as empty text, which fails to parse and is logged like a bad one;
    // so does anything but a regular file, which could block the window.
    QFile file(TernResourceMgr::instance()->productDir() + QStringLiteral("/brand_recommend.json"));
    const QString text = LocalFiles::isRegularFile(file.fileName())
            && file.open(QIODevice::ReadOnly | QIODevice::Text)
        ? QString::fromUtf8(file.readAll())
        : QString();
    file.close();

    QJsonParseError parseJsonErr;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseJsonErr);
    if (parseJsonErr.error != QJsonParseError::NoError) {
        LogL("read brand_recommend.json", 5, "parseJsonErr.error");
        return {};
    }

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
