#pragma once

#include "ternframework_export.h"

#include <QString>

// The framework's analytics service. Each event is appended as one JSON line to
// "analytics.jsonl" in the application data location, where tests and tools read it.
class TERNFRAMEWORK_EXPORT TERNGA {
public:
    enum EventType { Screen = 0, Event = 1, Timing = 2 };

    static TERNGA* instance();
    static QString eventFilePath();

    void CEIP(const QString& category, const QString& action, EventType type, const QString& label,
        int value);

private:
    TERNGA() = default;
};
