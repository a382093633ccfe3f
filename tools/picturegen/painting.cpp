#include "painting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace Painting {

QImage render(const QSize& size, const std::function<void(QPainter&)>& draw, int scale)
{
    QImage large(size * scale, QImage::Format_ARGB32_Premultiplied);
    large.fill(Qt::transparent);
    {
        QPainter painter(&large);
        painter.setRenderHints(
            QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        painter.scale(scale, scale);
        draw(painter);
    }
    if (scale == 1)
        return large.convertToFormat(QImage::Format_ARGB32);
    return large.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage renderDouble(const QSize& size, const std::function<void(QPainter&)>& draw, int scale)
{
    return render(
        size * 2,
        [&draw](QPainter& painter) {
            painter.scale(2, 2);
            draw(painter);
        },
        scale);
}

QVector<Picture> bothSizes(
    const QString& path, const QSize& size, const std::function<void(QPainter&)>& draw)
{
    // Large pictures are smooth enough with less oversampling.
    const int scale = size.width() > 120 ? 2 : 4;
    QString doubled = path;
    doubled.insert(path.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
    return { { path, render(size, draw, scale) }, { doubled, renderDouble(size, draw, scale) } };
}

QFont font(const QString& language, qreal pixelSize, int weight)
{
    QFont result;
    if (language.startsWith(QLatin1String("zh")))
        result.setFamilies({ QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans") });
    else
        result.setFamilies({ QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC") });
    result.setPixelSize(qMax(1, qRound(pixelSize)));
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

qreal textWidth(const QString& text, const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

void drawFittedText(
    QPainter& painter, const QRectF& rect, int flags, const QString& text, QFont font)
{
    const bool wraps = flags & Qt::TextWordWrap;
    while (font.pixelSize() > 6) {
        const QFontMetricsF metrics(font);
        const QRectF needed = metrics.boundingRect(rect, flags, text);
        const bool fits = wraps ? needed.height() <= rect.height() && needed.width() <= rect.width()
                                : metrics.horizontalAdvance(text) <= rect.width();
        if (fits)
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.drawText(rect, flags, text);
}

qreal drawPill(QPainter& painter, const QPointF& topLeft, qreal height, const QString& text,
    const QFont& font, const QColor& fill, const QColor& textColor, qreal padding)
{
    const qreal width = textWidth(text, font) + 2 * padding;
    const QRectF pill(topLeft, QSizeF(width, height));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(pill, height / 2, height / 2);
    painter.setPen(textColor);
    painter.setFont(font);
    painter.drawText(pill, Qt::AlignCenter, text);
    painter.restore();
    return width;
}

void drawSoftShadow(QPainter& painter, const QRectF& rect, qreal radius, qreal spread, int alpha)
{
    // Stacked translucent fills: where they overlap, near the shape, the shadow is darkest.
    painter.save();
    painter.setPen(Qt::NoPen);
    const int steps = qMax(2, qRound(spread * 2));
    painter.setBrush(withAlpha(Palette::navy, qMax(1, alpha / steps)));
    // Light from above: the shadow hangs below the shape more than it spreads sideways.
    const QPointF drop(0, spread * 0.5);
    for (int i = 1; i <= steps; ++i) {
        const qreal grow = spread * i / steps;
        painter.drawRoundedRect(
            rect.adjusted(-grow * 0.6, -grow * 0.4, grow * 0.6, grow).translated(drop),
            radius + grow, radius + grow);
    }
    painter.restore();
}

QColor withAlpha(QRgb rgb, int alpha)
{
    QColor colour(rgb);
    colour.setAlpha(alpha);
    return colour;
}

}
