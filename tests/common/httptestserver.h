#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for tests that talk to the network for real.
// Requests are routed by path (the query is not part of it) to a canned response or a handler;
// a response can come late, carry an error status, cut the connection, stop in the middle of its
// body or never come. Every request is recorded (method, path, headers, body) in arrival order.
class HttpTestServer : public QObject {
    Q_OBJECT
public:
    using Header = QPair<QByteArray, QByteArray>;

    struct Request {
        QByteArray method;
        QByteArray target; // as sent: path and query, percent-encoded
        QString path; // decoded path, no query
        QList<Header> headers;
        QByteArray body;

        // The first header of that name (case-insensitive); empty when absent.
        QByteArray header(const QByteArray& name) const;
        QUrl url() const { return QUrl::fromEncoded(target); }
    };

    struct Response {
        enum class Action {
            Answer, // status line, headers and the whole body
            CloseConnection, // drop the connection without a byte of answer
            NoAnswer, // keep the connection open and say nothing
            CloseMidBody, // announce the whole body, send part of it, then close
        };
        Action action = Action::Answer;
        int status = 200;
        QList<Header> headers; // besides Content-Length and Connection, which are added
        QByteArray body;
        int delayMs = 0; // wait this long before acting
        int bytesBeforeClose = 0; // CloseMidBody: how much of the body goes out

        static Response ok(const QByteArray& body,
            const QByteArray& contentType = QByteArrayLiteral("application/octet-stream"));
        static Response json(const QByteArray& body);
        static Response error(int status, const QByteArray& body = QByteArray());
        static Response closeConnection();
        static Response noAnswer();
        static Response truncated(const QByteArray& body, int bytesSent);
        Response delayed(int milliseconds) const;
    };

    using Handler = std::function<Response(const Request&)>;

    explicit HttpTestServer(QObject* parent = nullptr);
    ~HttpTestServer() override;

    // Listens on 127.0.0.1 at a free port.
    bool listen();
    quint16 port() const;
    // http://127.0.0.1:<port> followed by the path ("/a/b.json").
    QUrl url(const QString& path) const;
    QString address(const QString& path) const { return url(path).toString(); }

    void setResponse(const QString& path, const Response& response);
    void setHandler(const QString& path, const Handler& handler);
    void removeRoute(const QString& path);
    // Answers paths without a route; by default 404.
    void setFallback(const Handler& handler);

    int requestCount(const QString& path) const;
    int requestCount() const { return m_requests.size(); }
    QList<Request> requests() const { return m_requests; }
    QList<Request> requests(const QString& path) const;
    // The paths requested, in arrival order.
    QStringList requestedPaths() const;
    void clearRecords() { m_requests.clear(); }

signals:
    void requestReceived(const HttpTestServer::Request& request);

private:
    class Connection;
    friend class Connection;

    Response route(const Request& request) const;
    void record(const Request& request);
    void accept();

    QTcpServer* m_server = nullptr;
    QHash<QString, Handler> m_routes;
    Handler m_fallback;
    QList<Request> m_requests;
};

Q_DECLARE_METATYPE(HttpTestServer::Request)
Q_DECLARE_METATYPE(HttpTestServer::Response)
