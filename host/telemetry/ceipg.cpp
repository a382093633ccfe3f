#include "ceipg.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>

namespace {

std::string eventFile()
{
    if (const char* file = std::getenv("CEIPG_EVENT_FILE"); file && *file)
        return file;
    const char* home = std::getenv("HOME");
    std::string dir = std::string(home ? home : ".") + "/.local";
    mkdir(dir.c_str(), 0755);
    dir += "/share";
    mkdir(dir.c_str(), 0755);
    dir += "/CEIPG";
    mkdir(dir.c_str(), 0755);
    return dir + "/events.log";
}

} // namespace

extern "C" void CEIPGCoreEvent(const char* channel, const char* event, const char* extra, int value)
{
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    FILE* file = std::fopen(eventFile().c_str(), "a");
    if (!file)
        return;
    std::fprintf(file, "%s\t%s\t%s\t%d\n", channel ? channel : "", event ? event : "", extra ? extra : "", value);
    std::fclose(file);
}
