#pragma once

#include "ternframework_export.h"

// The framework's own view of whether the product's application is running.
class TERNFRAMEWORK_EXPORT TernSingleInstance {
public:
    enum RunState { NotRunning = 0, Running = 11, RunningElevated = 15 };

    static TernSingleInstance* instance();

    // Running (11) while a process with the product's executable name runs, otherwise 0.
    int runState() const;
    // Drops the framework's hold on the application's single-instance lock.
    static void release();
    static int releaseCount();

    // Stand-in only: answer `state` from now on regardless of the processes; -1 clears it.
    void forceRunState(int state);

private:
    TernSingleInstance() = default;
    int m_forced = -1;
};
