#include "content/localfiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace LocalFiles {

namespace {

bool isLink(const QString& path)
{
#ifdef Q_OS_UNIX
    // lstat, so that the link itself is what is looked at.
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
#else
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction();
#endif
}

bool fitsSize(QImageReader& reader)
{
    const QSize size = reader.size();
    return size.isValid() && size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide;
}

} // namespace

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool isUsablePicture(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxPictureBytes)
        return false;
    QImageReader reader(path);
    return fitsSize(reader);
}

bool isUsablePicture(const QByteArray& data)
{
    if (data.size() > kMaxPictureBytes)
        return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return fitsSize(reader);
}

bool removeLink(const QString& path)
{
    if (!isLink(path))
        return true;
    return QFile::remove(path) || QDir().rmdir(path);
}

bool makeFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    return removeLink(path) && QDir().mkpath(path);
}

bool writeFile(const QString& folder, const QString& name, const QByteArray& data, QString* error)
{
    const QString path = QDir(folder).filePath(name);
    if (!makeFolder(folder) || !removeLink(path)) {
        if (error)
            *error = QStringLiteral("cannot prepare ") + path;
        return false;
    }
    // QSaveFile would resolve a link at the path; none is left, and the rename replaces only
    // the directory entry.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace LocalFiles
