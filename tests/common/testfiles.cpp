#include "testfiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QtEndian>

#include <sys/stat.h>
#include <zlib.h>

namespace TestFiles {

QByteArray png(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    image.save(&buffer, "PNG");
    return buffer.data();
}

QByteArray pngDeclaring(int width, int height)
{
    QByteArray bytes = png(1);
    // The IHDR chunk follows the 8-byte signature: length, type, width, height, ..., CRC.
    const int type = 12;
    qToBigEndian<quint32>(quint32(width), bytes.data() + type + 4);
    qToBigEndian<quint32>(quint32(height), bytes.data() + type + 8);
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + type), 17);
    qToBigEndian<quint32>(quint32(sum), bytes.data() + type + 17);
    return bytes;
}

bool makeFifo(const QString& path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath())
        && ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool makeLink(const QString& target, const QString& link)
{
    return QDir().mkpath(QFileInfo(link).absolutePath()) && QFile::link(target, link);
}

QMap<QString, QByteArray> fingerprints(const QString& root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray print = QByteArray::number(int(info.permissions()), 16) + ' ';
        QFile file(path);
        if (info.isSymLink())
            print += "link " + QFile::encodeName(info.symLinkTarget());
        else if (info.isDir())
            continue;
        else if (!info.isFile())
            print += "special";
        // Libraries and the like: their size and time tell a change well enough.
        else if (info.size() > 1024 * 1024 || !file.open(QIODevice::ReadOnly))
            print += QByteArray::number(info.size()) + ' '
                + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
        else
            print += QByteArray::number(info.size()) + ' '
                + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        result.insert(QDir(root).relativeFilePath(path), print);
    }
    return result;
}

QStringList changed(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after)
{
    QMap<QString, QByteArray> all = before;
    all.insert(after);
    QStringList paths;
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (before.value(it.key(), "gone") != after.value(it.key(), "gone"))
            paths.append(it.key());
    }
    return paths;
}

} // namespace TestFiles
