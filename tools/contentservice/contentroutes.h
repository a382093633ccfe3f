#pragma once

#include <QString>

namespace httplib {
class Server;
struct Request;
struct Response;
}
class ReportStore;

// The service's URL layout: every file of the content folder under its relative path (JSON
// files with "${BASE}" replaced by the service's own address), and POST /report for feedback.
class ContentRoutes {
public:
    ContentRoutes(const QString& contentDir, ReportStore* store);

    // The address the documents point back at, e.g. "http://127.0.0.1:8080" (no trailing
    // slash). Set before the server starts listening.
    void setBaseUrl(const QString& baseUrl) { m_baseUrl = baseUrl; }
    void install(httplib::Server& server);
    // Limits what one client can make the service do: a connection that stays silent for a
    // second is dropped (a slow client keeps a worker thread only that long between bytes), a
    // body over kMaxBodyBytes is refused, a length that is not a number is a bad request.
    static void applyLimits(httplib::Server& server);

    static constexpr size_t kMaxBodyBytes = 64 * 1024;

    static QString contentType(const QString& fileName);

private:
    void serveFile(const httplib::Request& request, httplib::Response& response) const;
    void receiveReport(const httplib::Request& request, httplib::Response& response);
    QString resolve(const QString& urlPath) const;

    QString m_root;
    QString m_baseUrl;
    ReportStore* m_store;
};
