#include "ceipg.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

namespace {

std::string eventFile()
{
    if (const char* file = std::getenv("CEIPG_EVENT_FILE"); file && *file)
        return file;
#if defined(_WIN32)
    const char* home = std::getenv("USERPROFILE");
#else
    const char* home = std::getenv("HOME");
#endif
    const std::filesystem::path dir
        = std::filesystem::path(home ? home : ".") / ".local" / "share" / "CEIPG";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return (dir / "events.log").string();
}

} // namespace

extern "C" void CEIPGCoreEvent(const char* channel, const char* event, const char* extra, int value)
{
    // Events may come from any thread of the host; each one is a whole line.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    FILE* file = std::fopen(eventFile().c_str(), "a");
    if (!file)
        return;
    std::fprintf(file, "%s\t%s\t%s\t%d\n", channel ? channel : "", event ? event : "",
        extra ? extra : "", value);
    std::fclose(file);
}
