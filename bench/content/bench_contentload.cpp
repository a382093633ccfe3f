#include "content/uninstallprofile.h"
#include "content/urlhandler.h"
#include "wizard/uninstall.h"

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include "ternlog.h"
#include "ternsettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStackedWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kTargetMs = 150.0;
// When the service hangs, the content waits alone decide how long the loading page stays.
constexpr double kHangingTargetMs = 3500.0;

void serve(LoopbackServer& server)
{
    QJsonArray apps;
    for (int i = 0; i < 4; ++i) {
        const QString icon = QStringLiteral("icon%1.png").arg(i);
        apps.append(QJsonObject { { "icon", icon }, { "name", icon },
            { "url", "https://apps.example/" }, { "pic_url", server.address("/icons/" + icon) } });
        server.setResponse("/icons/" + icon, LoopbackServer::Response::ok(TestFiles::png(96)));
    }
    const QJsonObject config {
        { "version", "42" },
        { "banner_pic", server.address("/pics/banner_") },
        { "promotion_pic", server.address("/pics/promotion_") },
        { "recommendApp", server.address("/rec.json") },
        { "uninstallChose", server.address("/chose.json") },
        { "uninstallCause", server.address("/cause.json") },
    };
    server.setResponse(
        "/config.json", LoopbackServer::Response::json(QJsonDocument(config).toJson()));
    server.setResponse("/rec.json",
        LoopbackServer::Response::json(
            QJsonDocument(QJsonObject { { "recommendApp", QJsonObject { { "en", apps } } } })
                .toJson()));
    server.setResponse("/chose.json",
        LoopbackServer::Response::json(
            R"({"users": "1", "uninstallChose": {"default": ["a", "b", "c"]}})"));
    server.setResponse("/cause.json",
        LoopbackServer::Response::json(
            R"({"uninstallCause": {"default": {"a": "A", "b": "B", "c": "C"}}})"));
    server.setResponse("/pics/banner_en.png", LoopbackServer::Response::ok(TestFiles::png(800)));
    server.setResponse("/pics/promotion_en.png", LoopbackServer::Response::ok(TestFiles::png(360)));
}

// Milliseconds from construction to downLoadResEmit; -1 when it did not come within 10 s.
double loadOnce()
{
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    guard.start(10000);

    QElapsedTimer clock;
    clock.start();
    UninstallProfile profile;
    double elapsed = -1;
    QObject::connect(&profile, &UninstallProfile::downLoadResEmit, &loop, [&] {
        elapsed = clock.nsecsElapsed() / 1e6;
        loop.quit();
    });
    loop.exec();
    return elapsed;
}

// Milliseconds from showing the wizard window to leaving its loading page; -1 after 10 s.
double windowLoadOnce()
{
    Uninstall window;
    auto* pages = window.findChild<QStackedWidget*>(QStringLiteral("processPage"));
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    QElapsedTimer clock;
    double elapsed = -1;
    QObject::connect(pages, &QStackedWidget::currentChanged, &loop, [&](int index) {
        if (index == 1) {
            elapsed = clock.nsecsElapsed() / 1e6;
            loop.quit();
        }
    });
    clock.start();
    window.show();
    if (pages->currentIndex() != 1)
        loop.exec();
    return elapsed;
}

int pictureRequests(const LoopbackServer& server)
{
    const QStringList paths = server.requestedPaths();
    return int(std::count_if(paths.begin(), paths.end(), [](const QString& path) {
        return path.startsWith(QStringLiteral("/pics/"))
            || path.startsWith(QStringLiteral("/icons/"));
    }));
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * (values.size() - 1) + 0.5));
    return values[index];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnv_initFramework(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    TestEnv::useWizardLog();

    LoopbackServer server;
    if (!server.listen()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    serve(server);
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), server.address("/config.json"));
    TestEnv::setExtendParam(QStringLiteral("updateAppUrl"), QString());

    // The pictures of version 42 are in place from an earlier run of the wizard.
    TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QStringLiteral("42"));
    const double cold = loadOnce(); // the first in the process, as the wizard's only one is
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i)
        warm.push_back(loadOnce());
    const int picturesFetched = pictureRequests(server);
    std::vector<double> shown;
    TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
    for (int i = 0; i < std::min(runs, 10); ++i)
        shown.push_back(windowLoadOnce());

    // For comparison: a new version, whose six pictures are fetched four at a time.
    TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
    server.clearRecords();
    const double download = loadOnce();
    const int downloaded = pictureRequests(server);

    // The service answers its configuration, then never answers a document (and so no picture
    // is asked for), or answers the documents and never a picture.
    std::vector<double> hanging;
    for (const char* const paths : { ".json", ".png" }) {
        serve(server);
        const QStringList all { "/rec.json", "/chose.json", "/cause.json", "/pics/banner_en.png",
            "/pics/promotion_en.png", "/icons/icon0.png", "/icons/icon1.png", "/icons/icon2.png",
            "/icons/icon3.png" };
        for (const QString& path : all) {
            if (path.endsWith(QLatin1String(paths)))
                server.setResponse(path, LoopbackServer::Response::noAnswer());
        }
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        hanging.push_back(windowLoadOnce());
    }

    if (download < 0 || cold < 0 || *std::min_element(warm.begin(), warm.end()) < 0
        || *std::min_element(hanging.begin(), hanging.end()) < 0) {
        std::fprintf(stderr, "a load did not finish within 10 s\n");
        return 1;
    }
    const double median = percentile(warm, 0.5);
    std::printf("content load, loopback service\n");
    std::printf("  pictures cached, first load in process: %8.2f ms\n", cold);
    std::printf("  pictures cached, %d further loads: median %.2f ms, p90 %.2f ms, max %.2f ms\n",
        runs, median, percentile(warm, 0.9), percentile(warm, 1.0));
    std::printf("  new version, %d pictures downloaded:     %8.2f ms\n", downloaded, download);
    std::printf("  wizard window shown to home page, %zu runs: median %.2f ms, max %.2f ms\n",
        shown.size(), percentile(shown, 0.5), percentile(shown, 1.0));
    std::printf("  window target %.0f ms: worst / target = %.3f\n", kTargetMs,
        percentile(shown, 1.0) / kTargetMs);
    std::printf("  target %.0f ms: median / target = %.3f, worst / target = %.3f\n", kTargetMs,
        median / kTargetMs, std::max(cold, percentile(warm, 1.0)) / kTargetMs);
    std::printf("  service hangs, window shown to home page: documents %.0f ms, pictures %.0f ms\n",
        hanging[0], hanging[1]);
    std::printf("  hanging target %.0f ms: worst / target = %.3f\n", kHangingTargetMs,
        std::max(hanging[0], hanging[1]) / kHangingTargetMs);
    if (picturesFetched != 0)
        std::printf("  warning: the cached runs fetched %d pictures\n", picturesFetched);
    return 0;
}
