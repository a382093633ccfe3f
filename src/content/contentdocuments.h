#pragma once

#include "content/downloaditem.h"
#include "content/recapp.h"

#include <QJsonObject>
#include <QList>
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

// More cards would only make the pager longer; more icons only keep the loading page up.
constexpr int kMaxRecommendedApps = 24;
// What a configuration may give as its picture version, which the settings keep.
constexpr int kMaxVersionLength = 64;

// The wizard's language, and the product's default language, which stands in wherever a
// document has nothing for the first (and no "default" entry either).
struct Languages {
    QString current;
    QString fallback;
};

// The log line of bytes that are not JSON.
QString parseFailureMessage(const QJsonParseError& error);

// Parses bytes as JSON; invalid JSON gives false and the failure line in *failure.
bool parseDocument(const QByteArray& bytes, QJsonDocument* document, QString* failure);

// The first of the three content sections that the document holds as an object.
Kind kindOf(const QJsonObject& root);

// The entry of the current language, else the "default" entry, else the fall-back language's.
QJsonValue languageEntry(const QJsonObject& byLanguage, const Languages& languages);

struct RecommendedApp {
    RecApp app;
    QString picUrl; // where the icon picture is downloaded from
};
// The applications of the language's entry, in document order, at most kMaxRecommendedApps.
QVector<RecommendedApp> recommendedApps(const QJsonObject& root, const Languages& languages);
QVector<RecApp> recApps(const QVector<RecommendedApp>& apps);

struct CauseChoice {
    bool causeCheck = false;
    QString users;
    QVector<QString> keys;
};
CauseChoice causeChoice(const QJsonObject& root, const Languages& languages);

// Every key of the language's entry with its text. Qt's parser can keep a key twice when
// spellings with and without escapes meet lone surrogates; the last one wins here, as in
// every other JSON reader.
QMap<QString, QString> causeTexts(const QJsonObject& root, const Languages& languages);
// One entry per collected key, in their order; a key without text gets an empty text.
QMap<QString, QString> textsForKeys(
    const QMap<QString, QString>& texts, const QVector<QString>& keys);

// What one content document gives: the section the kind names is filled in.
struct Document {
    Kind kind = Kind::None;
    QString parseFailure; // the log line of bytes that are not JSON
    QVector<RecommendedApp> apps;
    CauseChoice choice;
    QMap<QString, QString> texts; // every key of the language's entry with its text

    // Applications (even none), at least one cause key, or at least one text.
    bool usable() const;
};
Document readDocument(const QByteArray& bytes, const Languages& languages);

struct ServiceConfig {
    QString version; // empty when the configuration's was longer than kMaxVersionLength
    int refusedVersionLength = 0; // the length of a version that was refused
    QString bannerPic;
    QString promotionPic;
    QString recommendApp;
    QString uninstallChose;
    QString uninstallCause;
};
ServiceConfig serviceConfig(const QJsonObject& root);
// The banner and the promotion picture of the language: its address takes the language in
// lower case, its file name takes it as it is.
QList<DownloadItem> offerPictures(const ServiceConfig& config, const QString& language);

// Whether a name taken from a document may be used as a file name inside the download
// directory: no folder part, no way out of it.
bool isSafeFileName(const QString& name);

} // namespace ContentDocuments
