#include "content/contentdocuments.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

namespace ContentDocuments {

namespace {

const QString kRecommendApp = QStringLiteral("recommendApp");
const QString kUninstallChose = QStringLiteral("uninstallChose");
const QString kUninstallCause = QStringLiteral("uninstallCause");

bool holdsObject(const QJsonObject& root, const QString& key)
{
    return root.contains(key) && root.value(key).isObject();
}

} // namespace

QString parseFailureMessage(const QJsonParseError& error)
{
    return QStringLiteral("JSON parsing error:") + error.errorString()
        + QStringLiteral("\nError offset : ") + QString::number(error.offset);
}

bool parseDocument(const QByteArray& bytes, QJsonDocument* document, QString* failure)
{
    QJsonParseError error;
    *document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        *failure = parseFailureMessage(error);
        return false;
    }
    return true;
}

Kind kindOf(const QJsonObject& root)
{
    if (holdsObject(root, kRecommendApp))
        return Kind::RecommendedApps;
    if (holdsObject(root, kUninstallChose))
        return Kind::CauseChoice;
    if (holdsObject(root, kUninstallCause))
        return Kind::CauseTexts;
    return Kind::None;
}

QJsonValue languageEntry(const QJsonObject& byLanguage, const Languages& languages)
{
    for (const QString& key :
        { languages.current, QStringLiteral("default"), languages.fallback }) {
        if (byLanguage.contains(key))
            return byLanguage.value(key);
    }
    return QJsonValue(QJsonValue::Undefined);
}

QVector<RecommendedApp> recommendedApps(const QJsonObject& root, const Languages& languages)
{
    const QJsonArray entries
        = languageEntry(root.value(kRecommendApp).toObject(), languages).toArray();
    QVector<RecommendedApp> apps;
    apps.reserve(qMin(entries.size(), kMaxRecommendedApps));
    for (const QJsonValue& entry : entries) {
        if (apps.size() == kMaxRecommendedApps)
            break;
        const QJsonObject object = entry.toObject();
        RecommendedApp app;
        app.app.icon = object.value(QStringLiteral("icon")).toString();
        app.app.name = object.value(QStringLiteral("name")).toString();
        app.app.url = object.value(QStringLiteral("url")).toString();
        app.picUrl = object.value(QStringLiteral("pic_url")).toString();
        apps.append(app);
    }
    return apps;
}

QVector<RecApp> recApps(const QVector<RecommendedApp>& apps)
{
    QVector<RecApp> result;
    result.reserve(apps.size());
    for (const RecommendedApp& app : apps)
        result.append(app.app);
    return result;
}

CauseChoice causeChoice(const QJsonObject& root, const Languages& languages)
{
    CauseChoice choice;
    choice.causeCheck = root.value(QStringLiteral("uninstallCuaseCheck")).toBool(false);
    choice.users = root.value(QStringLiteral("users")).toString();
    const QJsonArray keys
        = languageEntry(root.value(kUninstallChose).toObject(), languages).toArray();
    choice.keys.reserve(keys.size());
    for (const QJsonValue& key : keys)
        choice.keys.append(key.toString());
    return choice;
}

QMap<QString, QString> causeTexts(const QJsonObject& root, const Languages& languages)
{
    const QJsonObject texts
        = languageEntry(root.value(kUninstallCause).toObject(), languages).toObject();
    QMap<QString, QString> result;
    for (auto it = texts.begin(); it != texts.end(); ++it)
        result.insert(it.key(), it.value().toString());
    return result;
}

QMap<QString, QString> textsForKeys(
    const QMap<QString, QString>& texts, const QVector<QString>& keys)
{
    QMap<QString, QString> result;
    for (const QString& key : keys)
        result.insert(key, texts.value(key));
    return result;
}

bool Document::usable() const
{
    switch (kind) {
    case Kind::RecommendedApps:
        return true;
    case Kind::CauseChoice:
        // Without keys the reason page would offer nothing to tick.
        return !choice.keys.isEmpty();
    case Kind::CauseTexts:
        return !texts.isEmpty();
    case Kind::None:
        break;
    }
    return false;
}

Document readDocument(const QByteArray& bytes, const Languages& languages)
{
    Document document;
    QJsonDocument json;
    if (!parseDocument(bytes, &json, &document.parseFailure))
        return document;
    const QJsonObject root = json.object();
    document.kind = kindOf(root);
    switch (document.kind) {
    case Kind::RecommendedApps:
        document.apps = recommendedApps(root, languages);
        break;
    case Kind::CauseChoice:
        document.choice = causeChoice(root, languages);
        break;
    case Kind::CauseTexts:
        document.texts = causeTexts(root, languages);
        break;
    case Kind::None:
        break;
    }
    return document;
}

ServiceConfig serviceConfig(const QJsonObject& root)
{
    ServiceConfig config;
    config.version = root.value(QStringLiteral("version")).toString();
    if (config.version.size() > kMaxVersionLength) {
        // The settings keep the version; a service does not get to fill them.
        config.refusedVersionLength = config.version.size();
        config.version.clear();
    }
    config.bannerPic = root.value(QStringLiteral("banner_pic")).toString();
    config.promotionPic = root.value(QStringLiteral("promotion_pic")).toString();
    config.recommendApp = root.value(kRecommendApp).toString();
    config.uninstallChose = root.value(kUninstallChose).toString();
    config.uninstallCause = root.value(kUninstallCause).toString();
    return config;
}

QList<DownloadItem> offerPictures(const ServiceConfig& config, const QString& language)
{
    const QString suffix = language.toLower() + QStringLiteral(".png");
    return {
        { QUrl(config.bannerPic + suffix, QUrl::TolerantMode),
            QStringLiteral("banner_pic_%1.png").arg(language) },
        { QUrl(config.promotionPic + suffix, QUrl::TolerantMode),
            QStringLiteral("promotion_pic_%1.png").arg(language) },
    };
}

bool isSafeFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || QDir::isAbsolutePath(name))
        return false;
    // A drive letter or an alternate data stream on Windows, a folder anywhere.
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1Char(':')) && !name.contains(QLatin1String(".."))
        && !name.contains(QChar(0));
}

} // namespace ContentDocuments
