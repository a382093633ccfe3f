#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Files that content tests serve or place: pictures, hostile stand-ins, and a way to see what a
// run changed.
namespace TestFiles {

// A small valid PNG.
QByteArray png(int side = 8);
// A few hundred bytes of PNG whose header declares width × height pixels: a decoder that
// trusted it would allocate width × height × 4 bytes.
QByteArray pngDeclaring(int width, int height);

bool makeFifo(const QString& path);
// A symbolic link at `link` that points at `target`, creating the link's folder.
bool makeLink(const QString& target, const QString& link);

// Every file below `root` (folders aside): its path relative to root, mapped to its mode, size
// and a digest of its content. Links are listed as links, with their target. FIFOs are listed,
// never opened.
QMap<QString, QByteArray> fingerprints(const QString& root);
// The paths whose fingerprint differs between two listings, or that only one of them has.
QStringList changed(
    const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after);

} // namespace TestFiles
