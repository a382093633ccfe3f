#pragma once

#include "removal/removaloutcome.h"

#include <QString>

// How one run ended, for administrators and deployment tools (the file "-result=" names).
struct RunResult {
    enum Outcome {
        Removed, // the removal went ahead
        Refused, // the installation folder was refused
        Failed, // nothing could be removed
        ApplicationRunning, // the application ran and was not to be ended
        Aborted, // the user, another running wizard or a wrong option stopped it
    };

    Outcome outcome = Aborted;
    RemovalOutcome removal; // what the removal did, when it ran
    QString detail; // why it was aborted, in English
    qint64 durationMs = 0;

    // The outcome a removal pass had.
    static Outcome outcomeOf(const RemovalOutcome& removal);

    QJsonObject toJson() const;
    // Replaces `path` at once, never leaving half a file; false when it cannot be written.
    bool write(const QString& path) const;
};
