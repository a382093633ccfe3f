#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>

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

// A cpp-httplib server on 127.0.0.1 at a free port, serving from threads of its own, for tests
// that talk to the network for real. Requests are routed by path (no query) to a canned answer
// or a handler; a handler runs under the server's lock and only decides the answer, which may
// come late, be cut off or never come. Every request is recorded in arrival order.
class LoopbackServer {
public:
    using Header = QPair<QByteArray, QByteArray>;

    struct Request {
        QByteArray method;
        QString path;
        QList<Header> headers;
        QByteArray body;

        // The first header of that name (case-insensitive); empty when absent.
        QByteArray header(const QByteArray& name) const;
    };

    struct Response {
        enum class Action {
            Answer, // status, headers and the whole body
            NoAnswer, // hold the request until the server goes away
            CutOff, // announce the whole body, send part of it, then close
        };
        Action action = Action::Answer;
        int status = 200;
        QList<Header> headers;
        QByteArray contentType = QByteArrayLiteral("application/octet-stream");
        QByteArray body;
        int delayMs = 0;
        int bytesBeforeCut = 0;

        static Response ok(const QByteArray& body,
            const QByteArray& contentType = QByteArrayLiteral("application/octet-stream"));
        static Response json(const QByteArray& body);
        static Response error(int status, const QByteArray& body = QByteArray());
        static Response redirect(int status, const QString& location);
        static Response noAnswer();
        static Response truncated(const QByteArray& body, int bytesSent);
        Response delayed(int milliseconds) const;
    };

    using Handler = std::function<Response(const Request&)>;

    LoopbackServer();
    // Lets held requests go, then stops and joins the server.
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // Listens on 127.0.0.1 at a free port.
    bool listen();
    quint16 port() const { return m_port; }
    // http://127.0.0.1:<port> followed by the path ("/a/b.json").
    QUrl url(const QString& path) const;
    QString address(const QString& path) const { return url(path).toString(); }

    void setResponse(const QString& path, const Response& response);
    void setHandler(const QString& path, const Handler& handler);

    int requestCount(const QString& path) const { return requests(path).size(); }
    int requestCount() const { return requests().size(); }
    // The requests of one path, or all of them, in arrival order.
    QList<Request> requests(const QString& path = QString()) const;
    QStringList requestedPaths() const;
    void clearRecords();

private:
    void serve(const httplib::Request& in, httplib::Response& out);
    // Waits up to `ms` (for ever when negative); false once the server is going away.
    bool hold(int ms);

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
