#pragma once

#include "content/recapp.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

class QByteArray;
class QJsonDocument;
struct QJsonParseError;

// How the wizard reads its JSON documents: the service configuration and the three content
// documents (recommended applications, cause choice, cause texts). Pure functions, so that the
// interpretation can be checked without a network or a thread.
namespace ContentDocuments {

enum class Kind { None, RecommendedApps, CauseChoice, CauseTexts };

// The log line of bytes that are not JSON.
QString parseFailureMessage(const QJsonParseError& error);

// Parses bytes as JSON; invalid JSON gives false and the failure line in *failure.
bool parseDocument(const QByteArray& bytes, QJsonDocument* document, QString* failure);

// The first of the three content sections that the document holds as an object.
Kind kindOf(const QJsonObject& root);

// The entry of `language` when the object has that key, otherwise its "default" entry.
QJsonValue languageEntry(const QJsonObject& byLanguage, const QString& language);

struct RecommendedApp {
    RecApp app;
    QString picUrl; // where the icon picture is downloaded from
};
// The applications of exactly `language` (no fall-back), in document order.
QVector<RecommendedApp> recommendedApps(const QJsonObject& root, const QString& language);
QVector<RecApp> recApps(const QVector<RecommendedApp>& apps);

struct CauseChoice {
    bool causeCheck = false;
    QString users;
    QVector<QString> keys;
};
CauseChoice causeChoice(const QJsonObject& root, const QString& language);

// The key-to-text object of the language, or of "default".
QJsonObject causeTextObject(const QJsonObject& root, const QString& language);
// One entry per collected key, in their order; a key without text gets an empty text.
QMap<QString, QString> textsForKeys(const QJsonObject& texts, const QVector<QString>& keys);
// Every key of the text object, whether or not it is a collected cause key.
QMap<QString, QString> allTexts(const QJsonObject& texts);

struct ServiceConfig {
    QString version;
    QString bannerPic;
    QString promotionPic;
    QString recommendApp;
    QString uninstallChose;
    QString uninstallCause;
};
ServiceConfig serviceConfig(const QJsonObject& root);

// Whether a name taken from a document may be used as a file name inside the download
// directory: no folder part, no way out of it.
bool isSafeFileName(const QString& name);

} // namespace ContentDocuments
