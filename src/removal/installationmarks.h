#pragma once

#include <QString>

// What shows that a folder is this product's installation: the executable that hosts the
// wizard lies in it, and the product description beside it names this product. A folder
// without them is never emptied, whatever the host was told.
struct InstallationMarks {
    QString hostExecutable; // absolute path
    QString productName;

    // The running host's executable and the product the framework describes.
    static InstallationMarks current();

    // Empty when `folder` (absolute, links resolved) carries both marks; otherwise what is
    // missing, in English for the log.
    QString missingIn(const QString& folder) const;
};
