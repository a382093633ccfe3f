#pragma once

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

namespace TestPictures {

// Writes a PNG of one colour, creating its folder; false on failure.
inline bool write(const QString& path, const QSize& size, const QColor& colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

inline QColor centreColour(const QPixmap& pixmap)
{
    return pixmap.toImage().pixelColor(pixmap.rect().center());
}

} // namespace TestPictures
