#include "content/contentfetch.h"

#include "entry/logging.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace ContentFetch {

namespace {

bool isLoopback(const QUrl& url)
{
    const QString host = url.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

bool isWeb(const QUrl& url)
{
    const QString scheme = url.scheme();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

} // namespace

bool isAllowed(const QUrl& url, Transport transport)
{
    if (!isWeb(url))
        return false;
    return transport == Transport::Web || url.scheme() == QLatin1String("https") || isLoopback(url);
}

bool isRedirectAllowed(const QUrl& original, const QUrl& target)
{
    if (target.scheme() == QLatin1String("https") && !target.host().isEmpty())
        return true;
    return isLoopback(original) && target.scheme() == original.scheme()
        && target.host() == original.host() && target.port() == original.port();
}

QNetworkReply* get(QNetworkAccessManager* manager, const QUrl& url, qint64 maxBytes)
{
    QNetworkRequest request(url);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply* reply = manager->get(request);

    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, url](const QUrl& target) {
        if (isRedirectAllowed(url, target)) {
            emit reply->redirectAllowed();
            return;
        }
        UninstallLog::error(QStringLiteral("refused redirect to ") + target.toDisplayString());
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
        [reply, url, maxBytes](qint64 received, qint64 total) {
            if (received <= maxBytes && total <= maxBytes)
                return;
            UninstallLog::error(QStringLiteral("download over %1 bytes refused: ").arg(maxBytes)
                + url.toDisplayString());
            reply->abort();
        });
    return reply;
}

QString failureOf(QNetworkReply* reply, qint64 bodySize, qint64 maxBytes)
{
    if (reply->error() != QNetworkReply::NoError)
        return QStringLiteral("NetworkError error:") + reply->errorString();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return QStringLiteral("NetworkError error:HTTP status %1").arg(status);
    if (bodySize <= 0)
        return QStringLiteral("NetworkError error:empty body");
    // A body that arrived whole before its progress was seen is past the abort in get().
    if (bodySize > maxBytes)
        return QStringLiteral("NetworkError error:body over %1 bytes").arg(maxBytes);
    return {};
}

} // namespace ContentFetch
