#pragma once

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace TestPictures {

// Writes a PNG of one colour, creating its folder; false on failure.
inline bool write(const QString& path, const QSize& size, const QColor& colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

inline QColor colourAt(const QPixmap& pixmap, const QPoint& point)
{
    return pixmap.toImage().pixelColor(point);
}

inline QColor centreColour(const QPixmap& pixmap)
{
    return colourAt(pixmap, pixmap.rect().center());
}

} // namespace TestPictures
