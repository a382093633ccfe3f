#pragma once

#include "removal/installationmarks.h"
#include "removal/protectedplaces.h"

#include <QString>

// The one decision whether the contents of a folder may be deleted as this product's
// installation: it must be no protected place (nor hold one, nor lie in a protected tree) and
// it must carry the installation's marks. A broken installation record or a host copied to
// the wrong place must never cost the user their files.
struct DeletionDecision {
    enum Verdict {
        Accepted,
        Missing, // no such folder
        FileSystemRoot,
        SystemFolder,
        PersonalFolder,
        OtherUsersHome,
        NotThisProduct, // the marks are missing
    };

    Verdict verdict = Accepted;
    QString folder; // the folder judged, links resolved
    QString detail; // why it was refused, in English for the log

    bool accepted() const { return verdict == Accepted; }

    static DeletionDecision decide(
        const QString& folder, const ProtectedPlaces& places, const InstallationMarks& marks);
    // Against the running system's places.
    static DeletionDecision decide(const QString& folder, const InstallationMarks& marks);
};
