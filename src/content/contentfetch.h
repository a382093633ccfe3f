#pragma once

#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// How the wizard fetches what a content service names: which addresses it takes, which
// redirects it follows, how much it reads and which answers count. A service must not be able
// to make the wizard read local files, wander off to plain http, or fill memory or disk.
namespace ContentFetch {

constexpr qint64 kMaxDocumentBytes = 1024 * 1024;
constexpr qint64 kMaxUpdaterBytes = 200 * 1024 * 1024;
constexpr int kMaxRedirects = 5;

// Web: http and https. Secure: https, or any address on the loopback interface.
enum class Transport { Web, Secure };
bool isAllowed(const QUrl& url, Transport transport);

// A redirect is followed only to https, or within the loopback origin the request began at.
bool isRedirectAllowed(const QUrl& original, const QUrl& target);

// A GET for `url` whose redirects follow the rule above and which is aborted, with a log line,
// as soon as it announces or delivers more than maxBytes.
QNetworkReply* get(QNetworkAccessManager* manager, const QUrl& url, qint64 maxBytes);

// Empty when a finished reply delivered content: no error, a 2xx status and a body of
// 0 < bodySize <= maxBytes bytes. Otherwise the log line that says why not.
QString failureOf(QNetworkReply* reply, qint64 bodySize, qint64 maxBytes);

} // namespace ContentFetch
