#include "contentroutes.h"

#include "reportstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

namespace {

void answerJson(httplib::Response& response, int status, const QJsonObject& object)
{
    response.status = status;
    response.set_content(
        QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString(), "application/json");
}

void answerError(httplib::Response& response, int status, const QString& message)
{
    answerJson(response, status,
        { { QStringLiteral("code"), status }, { QStringLiteral("message"), message } });
}

} // namespace

ContentRoutes::ContentRoutes(const QString& contentDir, ReportStore* store)
    : m_root(QFileInfo(contentDir).canonicalFilePath())
    , m_store(store)
{
}

void ContentRoutes::install(httplib::Server& server)
{
    server.Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        serveFile(request, response);
    });
    server.Post(
        R"(/report(/.*)?)", [this](const httplib::Request& request, httplib::Response& response) {
            receiveReport(request, response);
        });
}

void ContentRoutes::applyLimits(httplib::Server& server)
{
    server.new_task_queue = [] { return new httplib::ThreadPool(64); };
    server.set_read_timeout(1, 0);
    server.set_keep_alive_timeout(1);
    server.set_payload_max_length(kMaxBodyBytes);
    // Runs before any body is read.
    server.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
            if (!request.has_header("Content-Length"))
                return httplib::Server::HandlerResponse::Unhandled;
            const QByteArray length
                = QByteArray::fromStdString(request.get_header_value("Content-Length"));
            bool ok = false;
            length.toULongLong(&ok);
            if (ok && !length.startsWith('+') && !length.startsWith('-'))
                return httplib::Server::HandlerResponse::Unhandled;
            answerError(response, 400, QStringLiteral("malformed Content-Length"));
            return httplib::Server::HandlerResponse::Handled;
        });
}

QString ContentRoutes::contentType(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("json"))
        return QStringLiteral("application/json; charset=utf-8");
    if (suffix == QLatin1String("png"))
        return QStringLiteral("image/png");
    if (suffix == QLatin1String("txt"))
        return QStringLiteral("text/plain; charset=utf-8");
    return QStringLiteral("application/octet-stream");
}

QString ContentRoutes::resolve(const QString& urlPath) const
{
    if (m_root.isEmpty())
        return QString();
    // Canonical paths keep "..", symbolic links and the like from reaching outside the folder.
    const QString canonical = QFileInfo(m_root + QLatin1Char('/') + urlPath).canonicalFilePath();
    if (!canonical.startsWith(m_root + QLatin1Char('/')) || !QFileInfo(canonical).isFile())
        return QString();
    return canonical;
}

void ContentRoutes::serveFile(const httplib::Request& request, httplib::Response& response) const
{
    const QString fileName = resolve(QString::fromStdString(request.path));
    if (fileName.isEmpty()) {
        answerError(response, 404, QStringLiteral("not found"));
        return;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        answerError(response, 500, file.errorString());
        return;
    }
    QByteArray body = file.readAll();
    const QString type = contentType(fileName);
    if (type.startsWith(QLatin1String("application/json")))
        body.replace("${BASE}", m_baseUrl.toUtf8());
    response.set_header("Cache-Control", "no-store");
    response.set_content(body.toStdString(), type.toStdString());
}

void ContentRoutes::receiveReport(const httplib::Request& request, httplib::Response& response)
{
    const QByteArray body = QByteArray::fromStdString(request.body);
    const ReportStore::Stored stored = m_store->store(QString::fromStdString(request.path),
        QString::fromStdString(request.get_header_value("Content-Type")), body);
    if (stored.id < 0) {
        answerError(response, 500, m_store->errorString());
        return;
    }
    answerJson(response, 200,
        { { QStringLiteral("code"), 0 }, { QStringLiteral("message"), QStringLiteral("received") },
            { QStringLiteral("id"), stored.id }, { QStringLiteral("kind"), stored.kind } });
}
