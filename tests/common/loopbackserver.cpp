#include "loopbackserver.h"

#include <httplib.h>

#include <chrono>

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

void LoopbackServer::setHandler(const QString& path, const Handler& handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_routes.insert(path, handler);
}

QList<LoopbackServer::Request> LoopbackServer::requests(const QString& path) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<Request> found;
    std::copy_if(m_requests.begin(), m_requests.end(), std::back_inserter(found),
        [&](const Request& request) { return path.isNull() || request.path == path; });
    return found;
}

QStringList LoopbackServer::requestedPaths() const
{
    QStringList paths;
    for (const Request& request : requests())
        paths.append(request.path);
    return paths;
}

void LoopbackServer::clearRecords()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

void LoopbackServer::serve(const httplib::Request& in, httplib::Response& out)
{
    const Request request { QByteArray::fromStdString(in.method), QString::fromStdString(in.path),
        QByteArray::fromStdString(in.get_header_value("Content-Type")),
        QByteArray::fromStdString(in.body) };
    std::unique_lock<std::mutex> lock(m_mutex);
    m_requests.append(request);
    const Handler route = m_routes.value(request.path);
    const Response response = route ? route(request) : Response::error(404, "not found");
    m_released.wait_for(
        lock, std::chrono::milliseconds(response.delayMs), [this] { return m_releasing; });
    lock.unlock();

    out.status = response.status;
    if (!response.location.isEmpty())
        out.set_header("Location", response.location.toStdString());
    const std::string type = response.contentType.toStdString();
    const std::string body = response.body.toStdString();
    if (response.cutAfter < 0)
        return out.set_content(body, type);
    // Announces the whole body and sends part of it, then ends the chunks in good order or
    // closes the connection.
    out.set_header("Content-Length", std::to_string(body.size()));
    out.set_chunked_content_provider(type,
        [body, sent = size_t(response.cutAfter), ends = response.isChunked](
            size_t, httplib::DataSink& sink) {
            sink.write(body.data(), sent);
            if (ends)
                sink.done();
            return ends;
        });
}
