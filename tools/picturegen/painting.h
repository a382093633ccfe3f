#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>

class QPainter;

// The product's palette: one blue for actions and brand, one orange for offers, neutral greys.
namespace Palette {
constexpr QRgb blue = 0xff2b7cff;
constexpr QRgb blueDark = 0xff1f5fe0;
constexpr QRgb blueLight = 0xffe8f0ff;
constexpr QRgb orange = 0xffff5a36;
constexpr QRgb orangeLight = 0xffff8a5b;
// Behind white text and as text on white: dark enough for 4.5:1.
constexpr QRgb orangeDark = 0xffc43e1b;
constexpr QRgb yellow = 0xffffc53d;
constexpr QRgb teal = 0xff17b890;
constexpr QRgb tealDark = 0xff0e7f63;
constexpr QRgb purple = 0xff7b5cff;
constexpr QRgb pink = 0xffff4d8d;
constexpr QRgb red = 0xffe5484d;
constexpr QRgb navy = 0xff1b2a4a;
constexpr QRgb greyText = 0xff8a94a6;
constexpr QRgb greyLine = 0xffe3e8f0;
constexpr QRgb greyBackground = 0xfff4f6fa;
constexpr QRgb white = 0xffffffff;
}

// One generated file: its path relative to the folder it belongs to, and its pixels.
struct Picture {
    QString path;
    QImage image;
};

namespace Painting {

// Paints with `draw` on a transparent canvas `scale` times the size, in the coordinates of the
// final size, and scales the result down: small pictures come out smoother than when painted
// directly.
QImage render(const QSize& size, const std::function<void(QPainter&)>& draw, int scale = 4);

// The same drawing at twice the size, for interfaces zoomed past 100 %.
QImage renderDouble(const QSize& size, const std::function<void(QPainter&)>& draw, int scale = 4);

// `path` at its size and "<name>@2x.png" at twice the size: the skin's pictures come in both,
// and the host picks the larger one when the interface is zoomed.
QVector<Picture> bothSizes(
    const QString& path, const QSize& size, const std::function<void(QPainter&)>& draw);

// A font that renders the language's script: Noto Sans CJK for Chinese, DejaVu Sans otherwise.
QFont font(const QString& language, qreal pixelSize, int weight = QFont::Normal);

// Draws `text` inside `rect`, shrinking the font until it fits (one line unless `flags` asks
// for word wrap).
void drawFittedText(
    QPainter& painter, const QRectF& rect, int flags, const QString& text, QFont font);

// Width of `text` in `font`, in pixels.
qreal textWidth(const QString& text, const QFont& font);

// A rounded "pill" with centred text; returns its width.
qreal drawPill(QPainter& painter, const QPointF& topLeft, qreal height, const QString& text,
    const QFont& font, const QColor& fill, const QColor& textColor, qreal padding);

// A soft shadow below a rounded rectangle, drawn as a few widening translucent outlines.
void drawSoftShadow(QPainter& painter, const QRectF& rect, qreal radius, qreal spread, int alpha);

QColor withAlpha(QRgb rgb, int alpha);

}
