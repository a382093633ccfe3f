#include "loopbackserver.h"

#include <httplib.h>

#include <chrono>

QByteArray LoopbackServer::Request::header(const QByteArray& name) const
{
    for (const Header& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return QByteArray();
}

LoopbackServer::Response LoopbackServer::Response::ok(
    const QByteArray& body, const QByteArray& contentType)
{
    Response response;
    response.body = body;
    response.contentType = contentType;
    return response;
}

LoopbackServer::Response LoopbackServer::Response::json(const QByteArray& body)
{
    return ok(body, "application/json");
}

LoopbackServer::Response LoopbackServer::Response::error(int status, const QByteArray& body)
{
    Response response = ok(body, "text/plain");
    response.status = status;
    return response;
}

LoopbackServer::Response LoopbackServer::Response::redirect(int status, const QString& location)
{
    Response response = error(status, "<html>moved</html>");
    response.headers.append({ "Location", location.toUtf8() });
    return response;
}

LoopbackServer::Response LoopbackServer::Response::noAnswer()
{
    Response response;
    response.action = Action::NoAnswer;
    return response;
}

LoopbackServer::Response LoopbackServer::Response::truncated(const QByteArray& body, int bytesSent)
{
    Response response = ok(body);
    response.action = Action::CutOff;
    response.bytesBeforeCut = bytesSent;
    return response;
}

LoopbackServer::Response LoopbackServer::Response::delayed(int milliseconds) const
{
    Response response = *this;
    response.delayMs = milliseconds;
    return response;
}

LoopbackServer::LoopbackServer()
    : m_server(std::make_unique<httplib::Server>())
{
    // Held requests keep their threads; one connection per request lets the server stop at once.
    m_server->new_task_queue = [] { return new httplib::ThreadPool(32); };
    m_server->set_keep_alive_max_count(1);
    const auto handler
        = [this](const httplib::Request& in, httplib::Response& out) { serve(in, out); };
    m_server->Get(".*", handler);
    m_server->Post(".*", handler);
    m_server->Put(".*", handler);
}

LoopbackServer::~LoopbackServer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_releasing = true;
    }
    m_released.notify_all();
    if (m_thread.joinable()) {
        m_server->stop();
        m_thread.join();
    }
}

bool LoopbackServer::listen()
{
    const int port = m_server->bind_to_any_port("127.0.0.1");
    if (port <= 0)
        return false;
    m_port = quint16(port);
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

QUrl LoopbackServer::url(const QString& path) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_port);
    url.setPath(path);
    return url;
}

void LoopbackServer::setResponse(const QString& path, const Response& response)
{
    setHandler(path, [response](const Request&) { return response; });
}

void LoopbackServer::setHandler(const QString& path, const Handler& handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_routes.insert(path, handler);
}

QList<LoopbackServer::Request> LoopbackServer::requests(const QString& path) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<Request> found;
    for (const Request& request : m_requests) {
        if (path.isNull() || request.path == path)
            found.append(request);
    }
    return found;
}

QStringList LoopbackServer::requestedPaths() const
{
    QStringList paths;
    const QList<Request> all = requests();
    for (const Request& request : all)
        paths.append(request.path);
    return paths;
}

void LoopbackServer::clearRecords()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

bool LoopbackServer::hold(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto released = [this] { return m_releasing; };
    if (ms < 0)
        m_released.wait(lock, released);
    else
        m_released.wait_for(lock, std::chrono::milliseconds(ms), released);
    return !m_releasing;
}

void LoopbackServer::serve(const httplib::Request& in, httplib::Response& out)
{
    Request request;
    request.method = QByteArray::fromStdString(in.method);
    request.path = QString::fromStdString(in.path);
    for (const auto& header : in.headers)
        request.headers.append(
            { QByteArray::fromStdString(header.first), QByteArray::fromStdString(header.second) });
    request.body = QByteArray::fromStdString(in.body);

    Response response = Response::error(404, "not found");
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.append(request);
        const auto route = m_routes.constFind(request.path);
        if (route != m_routes.constEnd())
            response = (*route)(request);
    }
    if (response.action == Response::Action::NoAnswer) {
        hold(-1);
        out.status = 503;
        return;
    }
    if (response.delayMs > 0)
        hold(response.delayMs);

    out.status = response.status;
    for (const Header& header : qAsConst(response.headers))
        out.set_header(header.first.toStdString(), header.second.toStdString());
    const std::string type = response.contentType.toStdString();
    if (response.action == Response::Action::CutOff) {
        const QByteArray body = response.body;
        const int sent = response.bytesBeforeCut;
        out.set_content_provider(
            size_t(body.size()), type, [body, sent](size_t, size_t, httplib::DataSink& sink) {
                sink.write(body.constData(), size_t(sent));
                return false; // closes the connection short of the announced length
            });
        return;
    }
    out.set_content(response.body.toStdString(), type);
}
