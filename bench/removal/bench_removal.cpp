// Speed of the removal: the deletion pass next to rm -rf and to the pauses it is made of, the
// file count next to find, and how long the GUI thread's event loop stalls meanwhile. Prints
// figures only; run it through scripts/bench.sh.

#include "removal/filecount.h"
#include "removal/filedeletionthread.h"

#include "ternlog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const int topDirectories = 20;
const int subDirectoriesEach = 99; // 20 + 20 * 99 = 2000 directories
const int filesPerDirectory = 10; // 2000 * 10 = 20 000 files
const int repetitions = 5;

int makeInstallation(const QString& root)
{
    int directories = 0;
    const QByteArray content(512, 'x');
    auto fill = [&](const QString& dir) {
        QDir().mkpath(dir);
        ++directories;
        for (int f = 0; f < filesPerDirectory; ++f) {
            QFile file(dir + QStringLiteral("/file%1.dat").arg(f));
            if (file.open(QIODevice::WriteOnly))
                file.write(content);
        }
    };
    for (int t = 0; t < topDirectories; ++t) {
        const QString top = root + QStringLiteral("/module%1").arg(t);
        fill(top);
        for (int s = 0; s < subDirectoriesEach; ++s)
            fill(top + QStringLiteral("/part%1").arg(s));
    }
    return directories;
}

double seconds(qint64 nanoseconds)
{
    return nanoseconds / 1e9;
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 medianOf(const std::function<void()>& work)
{
    std::vector<qint64> runs;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        runs.push_back(clock.nsecsElapsed());
    }
    return median(runs);
}

qint64 runProcess(
    const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    const qint64 elapsed = clock.nsecsElapsed();
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return elapsed;
}

// The real length of the pause the pass takes after each entry.
qint64 measureShortSleep()
{
    const int rounds = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i)
        QThread::usleep(100);
    return clock.nsecsElapsed() / rounds;
}

void benchCount(const QString& root)
{
    QByteArray found;
    runProcess(QStringLiteral("sh"),
        { QStringLiteral("-c"), QStringLiteral("find \"$0\" -type f | wc -l"), root }, &found);
    const qint64 find = medianOf([&] {
        runProcess(QStringLiteral("sh"),
            { QStringLiteral("-c"), QStringLiteral("find \"$0\" -type f | wc -l"), root });
    });
    int counted = 0;
    const qint64 plain = medianOf([&] { counted = countInstallationFiles(QDir(root)); });
    const qint64 logged = medianOf([&] { getFileCountLogged(QDir(root)); });
    std::printf("count: %d files (find: %s); countInstallationFiles %.1f ms, getFileCountLogged "
                "%.1f ms, find | wc -l %.1f ms\n",
        counted, found.constData(), plain / 1e6, logged / 1e6, find / 1e6);
    std::printf("count: ratio %.2f plain, %.2f logged (target <= 1.5)\n", double(plain) / find,
        double(logged) / find);
}

// A 1 ms timer on the GUI thread that notes every gap in the event loop.
class StallMeter {
public:
    StallMeter()
    {
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            const qint64 gap = sinceTick.nsecsElapsed();
            if (gap > longest) {
                longest = gap;
                longestAt = sinceStart.nsecsElapsed();
            }
            if (gap > 16 * 1000 * 1000)
                ++overOneFrame;
            sinceTick.restart();
        });
    }
    void start()
    {
        sinceStart.start();
        sinceTick.start();
        ticker.start();
    }
    void stop() { ticker.stop(); }
    QString summary() const
    {
        return QStringLiteral("longest stall %1 ms at %2 s, %3 gaps over 16 ms")
            .arg(longest / 1e6, 0, 'f', 1)
            .arg(seconds(longestAt), 0, 'f', 2)
            .arg(overOneFrame);
    }
    qint64 longest = 0;

private:
    QTimer ticker;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceTick;
    qint64 longestAt = 0;
    int overOneFrame = 0;
};

// The same meter with nothing else running: what the machine itself contributes.
QString idleStalls(int milliseconds)
{
    StallMeter meter;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    meter.start();
    loop.exec();
    meter.stop();
    return meter.summary();
}

void benchDeletion(const QString& root, const QString& twin, int entries)
{
    const qint64 rm = runProcess(QStringLiteral("rm"), { QStringLiteral("-rf"), twin });
    const qint64 pause = measureShortSleep();
    const qint64 floor = pause * entries;

    // The window's side: a progress bar fed by queued updates.
    QProgressBar bar;
    bar.setMaximum(countInstallationFiles(QDir(root)));
    // The marks that make the folder an installation of the product, removed with the rest.
    const InstallationMarks marks { root + QStringLiteral("/uninstaller"),
        QStringLiteral("Bench") };
    QFile(marks.hostExecutable).open(QIODevice::WriteOnly);
    QFile description(root + QStringLiteral("/product.json"));
    if (description.open(QIODevice::WriteOnly))
        description.write(R"({"name":"Bench"})");
    description.close();
    entries += 2;
    FileDeletionThread thread { QDir(root), marks };
    QObject::connect(&thread, &FileDeletionThread::updateBar, &bar, &QProgressBar::setValue);
    QEventLoop loop;
    QObject::connect(&thread, &FileDeletionThread::deleteComplete, &loop, &QEventLoop::quit);
    StallMeter meter;

    QElapsedTimer clock;
    clock.start();
    meter.start();
    thread.start(QThread::InheritPriority);
    loop.exec();
    const qint64 total = clock.nsecsElapsed();
    meter.stop();
    thread.wait();

    std::printf("deletion: %d entries; thread %.3f s, rm -rf %.3f s, sleep floor %.3f s "
                "(usleep(100) lasts %.1f us)\n",
        entries, seconds(total), seconds(rm), seconds(floor), pause / 1e3);
    std::printf("deletion: ratio %.2f of rm + floor (target <= 1.2); left below root: %d\n",
        double(total) / (rm + floor),
        int(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size()));
    std::printf("event loop while deleting: %s (target < 50 ms)\n", qPrintable(meter.summary()));
    std::printf("event loop idle, for comparison: %s\n", qPrintable(idleStalls(3000)));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    SetLogfile(QFile::encodeName(scratch.filePath(QStringLiteral("uninstall.log"))).constData());
    SetLogLevel(1);

    const QString root = scratch.filePath(QStringLiteral("install"));
    const QString twin = scratch.filePath(QStringLiteral("twin"));
    const int directories = makeInstallation(root);
    makeInstallation(twin);
    const int files = directories * filesPerDirectory;
    std::printf("installation: %d files in %d directories\n", files, directories);

    benchCount(root);
    benchDeletion(root, twin, files + directories);
    return 0;
}
