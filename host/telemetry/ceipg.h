#pragma once

// The telemetry library's one entry point, resolved by name at run time.
// The stand-in appends each event as a line "channel<TAB>event<TAB>extra<TAB>value" to the file
// named by CEIPG_EVENT_FILE, or to $HOME/.local/share/CEIPG/events.log.

#if defined(_WIN32) && defined(CEIPG_BUILD)
#define CEIPG_API __declspec(dllexport)
#elif defined(_WIN32)
#define CEIPG_API __declspec(dllimport)
#else
#define CEIPG_API __attribute__((visibility("default")))
#endif

extern "C" CEIPG_API void CEIPGCoreEvent(
    const char* channel, const char* event, const char* extra, int value);

using CEIPGCoreEventFunction = void (*)(const char*, const char*, const char*, int);
