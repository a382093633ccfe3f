#include "ternlog.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#else
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

struct Sink {
    std::mutex mutex;
    FILE* file = nullptr;
    int level = 0;
};

Sink& sink()
{
    static Sink s;
    return s;
}

void makeParents(const std::string& path)
{
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/' && path[i] != '\\')
            continue;
        const std::string dir = path.substr(0, i);
#if defined(_WIN32)
        _mkdir(dir.c_str());
#else
        mkdir(dir.c_str(), 0755);
#endif
    }
}

unsigned long threadId()
{
#if defined(_WIN32)
    return GetCurrentThreadId();
#else
    return static_cast<unsigned long>(syscall(SYS_gettid));
#endif
}

std::string timeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm {};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    char buf[40];
    const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    std::snprintf(buf + n, sizeof buf - n, ".%03d", static_cast<int>(ms));
    return buf;
}

void writeLine(const char* channel, int level, const char* message)
{
    Sink& s = sink();
    // Formatting happens before the lock so writers only contend for the append itself.
    std::string line = timeStamp();
    line += " [" + std::to_string(threadId()) + "] [";
    line += channel ? channel : "";
    line += "] [" + std::to_string(level) + "] ";
    line += message ? message : "";
    line += '\n';

    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.file || level < s.level)
        return;
    std::fwrite(line.data(), 1, line.size(), s.file);
    std::fflush(s.file);
}

} // namespace

extern "C" {

void SetLogfile(const char* path)
{
    if (!path)
        return;
    makeParents(path);
    FILE* file = std::fopen(path, "a");
    Sink& s = sink();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.file)
        std::fclose(s.file);
    s.file = file;
}

void SetLogLevel(int level)
{
    Sink& s = sink();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.level = level;
}

void Log(const char* channel, int level, const char* message)
{
    writeLine(channel, level, message);
}

void LogL(const char* tag, int level, const char* format, ...)
{
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> buffer(needed > 0 ? size_t(needed) + 1 : 1, '\0');
    if (needed > 0)
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    writeLine(tag, level, buffer.data());
}

} // extern "C"
