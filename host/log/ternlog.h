#pragma once

// The host's logging library. Every call is safe from any thread and returns quickly:
// a line is formatted outside the lock and appended with a single write.

#if defined(_WIN32)
#if defined(TERNLOG_BUILD)
#define TERNLOG_API __declspec(dllexport)
#else
#define TERNLOG_API __declspec(dllimport)
#endif
#else
#define TERNLOG_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Directs every later line to the file at path (UTF-8). Missing folders are created.
TERNLOG_API void SetLogfile(const char* path);
// Lines whose level is below the given level are dropped.
TERNLOG_API void SetLogLevel(int level);
TERNLOG_API void Log(const char* channel, int level, const char* message);
TERNLOG_API void LogL(const char* tag, int level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

#ifdef __cplusplus
}
#endif
