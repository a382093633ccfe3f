#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <climits>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
}

// A cpp-httplib server on 127.0.0.1 at a free port. Requests are routed by path to a canned
// answer or a handler (run under the server's lock), which may come late, be cut off or never
// come; every request is recorded in arrival order.
class LoopbackServer {
public:
    struct Request {
        QByteArray method;
        QString path;
        QByteArray contentType;
        QByteArray body;
    };

    struct Response {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/octet-stream";
        QByteArray location;
        int delayMs = 0; // INT_MAX: held until the server goes away
        // Announce the whole body, send this many bytes, then close (or, chunked, end the
        // response in good order).
        int cutAfter = -1;
        bool isChunked = false;

        static Response ok(
            const QByteArray& body, const QByteArray& type = "application/octet-stream")
        {
            return { 200, body, type, {}, 0, -1, false };
        }
        static Response json(const QByteArray& body) { return ok(body, "application/json"); }
        static Response error(int status, const QByteArray& body = {})
        {
            return { status, body, "text/plain", {}, 0, -1, false };
        }
        static Response redirect(int status, const QString& to)
        {
            return { status, "<html>moved</html>", "text/html", to.toUtf8(), 0, -1, false };
        }
        static Response noAnswer() { return ok({}).delayed(INT_MAX); }
        static Response truncated(const QByteArray& body, int bytesSent, bool chunked = false)
        {
            return { 200, body, "application/octet-stream", {}, 0, bytesSent, chunked };
        }
        Response delayed(int ms) const
        {
            return { status, body, contentType, location, ms, cutAfter, isChunked };
        }
    };
    using Handler = std::function<Response(const Request&)>;

    LoopbackServer();
    // Lets held requests go, then stops and joins the server.
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool listen();
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }
    QString address(const QString& path) const { return url(path).toString(); }

    void setResponse(const QString& path, const Response& response)
    {
        setHandler(path, [response](const Request&) { return response; });
    }
    void setHandler(const QString& path, const Handler& handler);

    // The requests of one path, or all of them, in arrival order.
    QList<Request> requests(const QString& path = QString()) const;
    int requestCount(const QString& path = QString()) const { return requests(path).size(); }
    QStringList requestedPaths() const;
    void clearRecords();

private:
    void serve(const httplib::Request& in, httplib::Response& out);

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    quint16 m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_releasing = false;
    QHash<QString, Handler> m_routes;
    QList<Request> m_requests;
};

Q_DECLARE_METATYPE(LoopbackServer::Response)
