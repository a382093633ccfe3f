#include "httptestserver.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// One client connection: reads requests one after the other (keep-alive) and answers each in
// turn; a request that is never answered holds up the ones behind it, as it would in HTTP/1.1.
class HttpTestServer::Connection : public QObject {
public:
    Connection(HttpTestServer* server, QTcpSocket* socket)
        : QObject(socket)
        , m_server(server)
        , m_socket(socket)
    {
        connect(socket, &QTcpSocket::readyRead, this, &Connection::process);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    // Takes one complete request off the front of the buffer; false when more bytes are needed.
    bool takeRequest(Request* request)
    {
        const int headerEnd = m_buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return false;
        const QList<QByteArray> lines = m_buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request->method = requestLine.value(0);
        request->target = requestLine.value(1);
        request->path = QUrl::fromEncoded(request->target).path();
        request->headers.clear();
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request->headers.append(
                    { lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed() });
        }
        int consumed = headerEnd + 4;
        if (request->header("Transfer-Encoding").toLower() == "chunked") {
            request->body.clear();
            for (;;) {
                const int sizeEnd = m_buffer.indexOf("\r\n", consumed);
                if (sizeEnd < 0)
                    return false;
                bool ok = false;
                const int size = m_buffer.mid(consumed, sizeEnd - consumed)
                                     .split(';')
                                     .value(0)
                                     .trimmed()
                                     .toInt(&ok, 16);
                if (!ok)
                    return false;
                if (m_buffer.size() < sizeEnd + 2 + size + 2)
                    return false;
                request->body += m_buffer.mid(sizeEnd + 2, size);
                consumed = sizeEnd + 2 + size + 2;
                if (size == 0)
                    break; // no trailers expected from the clients under test
            }
        } else {
            const int length = request->header("Content-Length").toInt();
            if (m_buffer.size() < consumed + length)
                return false;
            request->body = m_buffer.mid(consumed, length);
            consumed += length;
        }
        m_buffer.remove(0, consumed);
        return true;
    }

    void process()
    {
        m_buffer += m_socket->readAll();
        while (!m_busy) {
            Request request;
            if (!takeRequest(&request))
                return;
            m_server->record(request);
            const Response response = m_server->route(request);
            m_busy = true;
            if (response.delayMs > 0) {
                QTimer::singleShot(
                    response.delayMs, this, [this, request, response] { act(request, response); });
                return;
            }
            act(request, response);
        }
    }

    static QByteArray reason(int status)
    {
        switch (status) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
        }
    }

    static QByteArray head(const Response& response, bool closing)
    {
        QByteArray text = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
            + reason(response.status) + "\r\n";
        for (const Header& header : response.headers)
            text += header.first + ": " + header.second + "\r\n";
        text += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        text += closing ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
        return text + "\r\n";
    }

    void act(const Request& request, const Response& response)
    {
        switch (response.action) {
        case Response::Action::NoAnswer:
            return; // stays busy for good
        case Response::Action::CloseConnection:
            m_socket->abort();
            return;
        case Response::Action::CloseMidBody:
            m_socket->write(head(response, true));
            m_socket->write(response.body.left(response.bytesBeforeClose));
            m_socket->disconnectFromHost();
            return;
        case Response::Action::Answer:
            break;
        }
        const bool closing = request.header("Connection").toLower() == "close";
        m_socket->write(head(response, closing));
        if (request.method != "HEAD")
            m_socket->write(response.body);
        if (closing) {
            m_socket->disconnectFromHost();
            return;
        }
        m_busy = false;
        // Requests that arrived meanwhile are answered now.
        QTimer::singleShot(0, this, &Connection::process);
    }

    HttpTestServer* m_server;
    QTcpSocket* m_socket;
    QByteArray m_buffer;
    bool m_busy = false;
};

QByteArray HttpTestServer::Request::header(const QByteArray& name) const
{
    for (const Header& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return QByteArray();
}

HttpTestServer::Response HttpTestServer::Response::ok(
    const QByteArray& body, const QByteArray& contentType)
{
    Response response;
    response.body = body;
    response.headers.append({ "Content-Type", contentType });
    return response;
}

HttpTestServer::Response HttpTestServer::Response::json(const QByteArray& body)
{
    return ok(body, "application/json");
}

HttpTestServer::Response HttpTestServer::Response::error(int status, const QByteArray& body)
{
    Response response = ok(body, "text/plain");
    response.status = status;
    return response;
}

HttpTestServer::Response HttpTestServer::Response::closeConnection()
{
    Response response;
    response.action = Action::CloseConnection;
    return response;
}

HttpTestServer::Response HttpTestServer::Response::noAnswer()
{
    Response response;
    response.action = Action::NoAnswer;
    return response;
}

HttpTestServer::Response HttpTestServer::Response::truncated(const QByteArray& body, int bytesSent)
{
    Response response = ok(body);
    response.action = Action::CloseMidBody;
    response.bytesBeforeClose = bytesSent;
    return response;
}

HttpTestServer::Response HttpTestServer::Response::delayed(int milliseconds) const
{
    Response response = *this;
    response.delayMs = milliseconds;
    return response;
}

HttpTestServer::HttpTestServer(QObject* parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_fallback([](const Request&) { return Response::error(404, "not found"); })
{
    qRegisterMetaType<HttpTestServer::Request>();
    connect(m_server, &QTcpServer::newConnection, this, &HttpTestServer::accept);
}

HttpTestServer::~HttpTestServer() = default;

bool HttpTestServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 HttpTestServer::port() const
{
    return m_server->serverPort();
}

QUrl HttpTestServer::url(const QString& path) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    url.setPath(path);
    return url;
}

void HttpTestServer::setResponse(const QString& path, const Response& response)
{
    m_routes.insert(path, [response](const Request&) { return response; });
}

void HttpTestServer::setHandler(const QString& path, const Handler& handler)
{
    m_routes.insert(path, handler);
}

void HttpTestServer::removeRoute(const QString& path)
{
    m_routes.remove(path);
}

void HttpTestServer::setFallback(const Handler& handler)
{
    m_fallback = handler;
}

int HttpTestServer::requestCount(const QString& path) const
{
    return requests(path).size();
}

QList<HttpTestServer::Request> HttpTestServer::requests(const QString& path) const
{
    QList<Request> found;
    for (const Request& request : m_requests) {
        if (request.path == path)
            found.append(request);
    }
    return found;
}

QStringList HttpTestServer::requestedPaths() const
{
    QStringList paths;
    for (const Request& request : m_requests)
        paths.append(request.path);
    return paths;
}

HttpTestServer::Response HttpTestServer::route(const Request& request) const
{
    const auto it = m_routes.constFind(request.path);
    return it != m_routes.constEnd() ? (*it)(request) : m_fallback(request);
}

void HttpTestServer::record(const Request& request)
{
    m_requests.append(request);
    emit requestReceived(request);
}

void HttpTestServer::accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection())
        new Connection(this, socket);
}
