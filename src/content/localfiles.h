#pragma once

#include <QByteArray>
#include <QString>

// The wizard's rules for the files it reads and writes on behalf of a content service. Anything
// a service or another program can place there must neither block the window nor redirect a
// write elsewhere.
namespace LocalFiles {

constexpr int kMaxPictureSide = 4096;
constexpr qint64 kMaxPictureBytes = 5 * 1024 * 1024;

// A regular file, or a link to one. Opening a FIFO or a device would block the caller.
bool isRegularFile(const QString& path);

// Pictures whose header declares more than kMaxPictureSide pixels on a side are refused before
// anything is decoded: a small file can unpack into gigabytes.
bool isUsablePicture(const QString& path);
bool isUsablePicture(const QByteArray& data);

// Writes `data` to folder + name through a temporary file and a rename. A link where the folder
// or the file should be is removed, never followed, so the write always lands in the folder.
bool writeFile(
    const QString& folder, const QString& name, const QByteArray& data, QString* error = nullptr);

// Creates the folder with its parents; a link in the folder's own place is removed first.
bool makeFolder(const QString& folder);
// Removes a link at `path` (not its target). False when there is a link that cannot be removed.
bool removeLink(const QString& path);

} // namespace LocalFiles
