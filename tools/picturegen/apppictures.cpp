#include "glyphs.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

struct AppIcon {
    const char* file;
    Glyph glyph;
    QRgb from;
    QRgb to;
};

// A rounded square in a diagonal gradient with a white pictogram: the family's icon style.
void drawAppIcon(QPainter& p, const QSizeF& size, Glyph glyph, QRgb from, QRgb to)
{
    const qreal inset = size.width() / 32;
    const QRectF square = QRectF(QPointF(0, 0), size).adjusted(inset, inset, -inset, -inset);
    const qreal radius = square.width() * 0.23;
    QLinearGradient fill(square.topLeft(), square.bottomRight());
    fill.setColorAt(0, QColor(from));
    fill.setColorAt(1, QColor(to));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(square, radius, radius);
    // A faint sheen across the top half gives the flat square some depth.
    QLinearGradient sheen(square.topLeft(), square.center());
    sheen.setColorAt(0, Painting::withAlpha(Palette::white, 40));
    sheen.setColorAt(1, Painting::withAlpha(Palette::white, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(square, radius, radius);
    const qreal pad = square.width() * 0.2;
    drawGlyph(p, glyph, square.adjusted(pad, pad, -pad, -pad), QColor(Palette::white), QColor(to));
}

struct CardStyle {
    QRgb accent;
    qreal circleX;
};

void drawCard(QPainter& p, const QSizeF& size, const CardStyle& style)
{
    const QRectF card = QRectF(QPointF(0, 0), size).adjusted(8, 6, -8, -12);
    const qreal radius = 24;
    Painting::drawSoftShadow(p, card, radius, 8, 28);
    QPainterPath outline;
    outline.addRoundedRect(card, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::white));
    p.drawPath(outline);

    p.save();
    p.setClipPath(outline);
    // The tinted top, where the icon sits, ends in a gentle curve.
    const QRectF band(card.left(), card.top(), card.width(), card.height() * 0.46);
    QPainterPath bandPath;
    bandPath.moveTo(band.topLeft());
    bandPath.lineTo(band.topRight());
    bandPath.lineTo(band.right(), band.bottom() - 14);
    bandPath.quadTo(band.center().x(), band.bottom() + 14, band.left(), band.bottom() - 14);
    bandPath.closeSubpath();
    QLinearGradient tint(band.topLeft(), band.bottomLeft());
    tint.setColorAt(0, Painting::withAlpha(style.accent, 52));
    tint.setColorAt(1, Painting::withAlpha(style.accent, 20));
    p.setBrush(tint);
    p.drawPath(bandPath);
    p.setClipPath(bandPath, Qt::IntersectClip);
    p.setBrush(Painting::withAlpha(style.accent, 28));
    p.drawEllipse(QPointF(card.left() + card.width() * style.circleX, band.top() + 10), 64, 64);
    p.setBrush(Painting::withAlpha(style.accent, 18));
    p.drawEllipse(
        QPointF(card.left() + card.width() * (1 - style.circleX), band.bottom() - 4), 38, 38);
    p.setClipPath(outline);
    p.setBrush(QColor(style.accent));
    p.drawRect(QRectF(card.left(), card.top(), card.width(), 8));
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(Palette::greyLine), 2));
    p.drawPath(outline);
}

}

QVector<Picture> appIcons()
{
    const AppIcon icons[] = {
        { "photo.png", Glyph::Photo, Palette::purple, 0xffb05cff },
        { "video.png", Glyph::Video, Palette::orange, 0xffff9a3d },
        { "pdf.png", Glyph::Pdf, Palette::red, 0xffff7b6b },
        { "backup.png", Glyph::Backup, Palette::teal, 0xff38d6a8 },
        { "audio.png", Glyph::Audio, Palette::pink, 0xffff85b5 },
        { "recovery.png", Glyph::Recovery, Palette::blue, 0xff5fb0ff },
    };
    QVector<Picture> pictures;
    for (const AppIcon& icon : icons) {
        pictures.append({ QStringLiteral("recAppIcon/") + QLatin1String(icon.file),
            Painting::render(QSize(96, 96), [&](QPainter& p) {
                drawAppIcon(p, QSizeF(96, 96), icon.glyph, icon.from, icon.to);
            }) });
    }
    return pictures;
}

QVector<Picture> brandIcons()
{
    QVector<Picture> pictures;
    for (const auto& [file, edge] :
        { std::pair<const char*, int> { "logo.png", 40 }, { "app_icon.png", 64 } }) {
        pictures.append({ QLatin1String(file),
            Painting::render(QSize(edge, edge), [edge = edge](QPainter& p) {
                drawAppIcon(p, QSizeF(edge, edge), Glyph::Converter, 0xff4f95ff, Palette::blueDark);
            }) });
    }
    return pictures;
}

QVector<Picture> cardBackgrounds()
{
    const CardStyle styles[] = {
        { Palette::blue, 0.85 },
        { Palette::teal, 0.15 },
        { Palette::orange, 0.85 },
        { Palette::purple, 0.15 },
    };
    QVector<Picture> pictures;
    int number = 1;
    for (const CardStyle& style : styles) {
        pictures.append({ QStringLiteral("rec_bg%1.png").arg(number++),
            Painting::render(
                QSize(300, 340), [&](QPainter& p) { drawCard(p, QSizeF(300, 340), style); }, 2) });
    }
    return pictures;
}
