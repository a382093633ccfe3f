#pragma once

#include <QString>

// Why the contents of `rootPath` must never be deleted by the uninstaller, or an empty string
// when they may be. Refused are the root of a file system, the user's home directory and every
// directory that holds it, other users' home directories, the user's standard folders
// (desktop, documents, ...) and the operating system's own directories. A broken installation
// record or a product run from such a place must not cost the user their files.
QString deletionRefusal(const QString& rootPath);
