#pragma once

#include "removal/deletiondecision.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// One entry a removal left behind, and why.
struct Leftover {
    enum Reason {
        InUse,
        Permission,
        MountPoint,
        SetupTool, // stays by design: the setup tool removes itself
        RefusedRoot,
        NotEmpty, // a folder that still holds something that stayed
        Hidden, // never listed for removal, as hidden entries never are
        Changed, // no longer what the scan found (swapped for a link, moved)
        Failed,
    };

    QString path;
    Reason reason = Failed;

    // The words the list of leftovers uses.
    static QString reasonText(Reason reason);
};

// What one removal pass did, for the window, the log and the list of leftovers.
struct RemovalOutcome {
    QString root;
    DeletionDecision decision; // why the root was refused, when it was
    QString failure; // why the pass could not run at all, in English
    int attempted = 0;
    int removedFiles = 0;
    int removedDirectories = 0;
    QVector<Leftover> leftovers;
    QString listPath; // where the list of leftovers went; empty when it could not be written

    bool refused() const { return !decision.accepted(); }
    // The installation is still there: refused, unusable, or nothing at all could be removed.
    bool failed() const;
    // Entries that stayed although the removal meant to take them.
    int leftBehind() const;

    QJsonObject toJson() const;
    // One line for the log.
    QString summary() const;
    // Writes the list of leftovers ("leftovers.json") into `folder`, replacing what an earlier
    // run left there; sets listPath.
    bool writeList(const QString& folder);
};
