// contentservice: the sample product's content and feedback service for development and tests.
// It serves the content folder on 127.0.0.1 and keeps every feedback report in SQLite.
//
//   contentservice --content DIR --db FILE [--port N]   serve (port 0 picks a free one)
//   contentservice --db FILE --list                     print the stored reports, one JSON line
//   each

#include "contentroutes.h"
#include "reportstore.h"

#include <QDir>
#include <QFileInfo>

#include <httplib.h>

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

namespace {

struct Options {
    QString contentDir;
    QString database;
    int port = 0;
    bool list = false;
};

const char* const usage = "usage: contentservice --content DIR --db FILE [--port N]\n"
                          "       contentservice --db FILE --list\n";

bool parseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        if (argument == QLatin1String("--list")) {
            options.list = true;
        } else if (argument == QLatin1String("--content") && hasValue) {
            options.contentDir = QString::fromLocal8Bit(argv[++i]);
        } else if (argument == QLatin1String("--db") && hasValue) {
            options.database = QString::fromLocal8Bit(argv[++i]);
        } else if (argument == QLatin1String("--port") && hasValue) {
            bool ok = false;
            options.port = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || options.port < 0 || options.port > 65535)
                return false;
        } else {
            return false;
        }
    }
    return !options.database.isEmpty() && (options.list || !options.contentDir.isEmpty());
}

int listReports(const Options& options)
{
    ReportStore store;
    if (!QFileInfo::exists(options.database)
        || !store.open(options.database, ReportStore::Mode::Existing)) {
        std::fprintf(
            stderr, "contentservice: no report database at %s\n", qPrintable(options.database));
        return 1;
    }
    if (store.list(std::cout) < 0) {
        std::fprintf(stderr, "contentservice: %s\n", qPrintable(store.errorString()));
        return 1;
    }
    return 0;
}

int serve(const Options& options)
{
    if (!QFileInfo(options.contentDir).isDir()) {
        std::fprintf(
            stderr, "contentservice: no content folder at %s\n", qPrintable(options.contentDir));
        return 1;
    }
    ReportStore store;
    if (!store.open(options.database, ReportStore::Mode::Create)) {
        std::fprintf(stderr, "contentservice: %s\n", qPrintable(store.errorString()));
        return 1;
    }

    // Block the stop signals before the server starts its threads, so they all inherit the mask
    // and the signals wait for the loop below instead of ending the process.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    httplib::Server server;
    ContentRoutes routes(options.contentDir, &store);
    routes.install(server);
    ContentRoutes::applyLimits(server);
    server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
        std::fprintf(
            stderr, "%s %s %d\n", request.method.c_str(), request.path.c_str(), response.status);
    });

    const char* const host = "127.0.0.1";
    const int port = options.port == 0
        ? server.bind_to_any_port(host)
        : (server.bind_to_port(host, options.port) ? options.port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "contentservice: cannot listen on %s:%d\n", host, options.port);
        return 1;
    }
    const QString baseUrl = QStringLiteral("http://%1:%2").arg(QLatin1String(host)).arg(port);
    routes.setBaseUrl(baseUrl);

    std::atomic<bool> finished { false };
    bool listened = false;
    std::thread serving([&] {
        listened = server.listen_after_bind();
        finished = true;
    });
    // Announce the address only once the server accepts, so that a stop signal sent as soon
    // as the line is read already finds a running server.
    while (!server.is_running() && !finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!finished) {
        std::printf("listening on %s\n", qPrintable(baseUrl));
        std::fflush(stdout);
    }
    const timespec tick { 0, 100 * 1000 * 1000 };
    while (!finished) {
        if (sigtimedwait(&stopSignals, nullptr, &tick) > 0) {
            server.stop();
            break;
        }
    }
    serving.join();
    std::fprintf(stderr, "contentservice: stopped\n");
    return listened ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    return options.list ? listReports(options) : serve(options);
}
