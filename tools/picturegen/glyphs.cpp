#include "glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QPen roundPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// An arc on the circle around `centre` that ends in an arrow head, in Qt's angle convention
// (degrees, counter-clockwise from three o'clock).
void arcArrow(QPainter& p, const QPointF& centre, qreal radius, qreal startDeg, qreal spanDeg,
    qreal width, const QColor& colour)
{
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setPen(roundPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawArc(circle, qRound(startDeg * 16), qRound(spanDeg * 16));

    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    const qreal sign = spanDeg >= 0 ? 1 : -1;
    const QPointF along(-qSin(end) * sign, -qCos(end) * sign);
    const QPointF outward(qCos(end), -qSin(end));
    const qreal head = width * 1.25;
    QPainterPath arrow;
    arrow.moveTo(tip + along * head * 1.1);
    arrow.lineTo(tip + outward * head - along * head * 0.2);
    arrow.lineTo(tip - outward * head - along * head * 0.2);
    arrow.closeSubpath();
    p.setPen(roundPen(colour, width * 0.3));
    p.setBrush(colour);
    p.drawPath(arrow);
}

void drawDocument(QPainter& p, const QRectF& r, const QColor& colour, qreal fold)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top() + 4);
    page.quadTo(r.left(), r.top(), r.left() + 4, r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom() - 4);
    page.quadTo(r.right(), r.bottom(), r.right() - 4, r.bottom());
    page.lineTo(r.left() + 4, r.bottom());
    page.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 4);
    page.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(page);
}

void drawPerson(QPainter& p, const QPointF& head, qreal size, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(head, size * 0.5, size * 0.5);
    QPainterPath body;
    const QRectF shoulders(head.x() - size, head.y() + size * 0.75, size * 2, size * 2);
    body.moveTo(shoulders.center());
    body.arcTo(shoulders, 0, 180);
    body.closeSubpath();
    p.drawPath(body);
}

void drawStar(QPainter& p, const QPointF& c, qreal r, const QColor& colour)
{
    QPainterPath star;
    const qreal inner = r * 0.22;
    star.moveTo(c.x(), c.y() - r);
    star.quadTo(c.x() + inner, c.y() - inner, c.x() + r, c.y());
    star.quadTo(c.x() + inner, c.y() + inner, c.x(), c.y() + r);
    star.quadTo(c.x() - inner, c.y() + inner, c.x() - r, c.y());
    star.quadTo(c.x() - inner, c.y() - inner, c.x(), c.y() - r);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(star);
}

void drawInUnitBox(QPainter& p, Glyph glyph, const QColor& c, const QColor& accent)
{
    switch (glyph) {
    case Glyph::Converter:
        arcArrow(p, { 50, 50 }, 30, 35, 125, 11, c);
        arcArrow(p, { 50, 50 }, 30, 215, 125, 11, c);
        break;
    case Glyph::Photo: {
        p.setPen(roundPen(c, 7));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(16, 22, 68, 56), 10, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(64, 40), 7, 7);
        QPainterPath hills;
        hills.moveTo(20, 74);
        hills.lineTo(40, 48);
        hills.lineTo(54, 64);
        hills.lineTo(62, 56);
        hills.lineTo(80, 74);
        hills.closeSubpath();
        p.drawPath(hills);
        break;
    }
    case Glyph::Video: {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(12, 26, 56, 48), 10, 10);
        QPainterPath lens;
        lens.moveTo(72, 44);
        lens.lineTo(88, 32);
        lens.lineTo(88, 68);
        lens.lineTo(72, 56);
        lens.closeSubpath();
        p.drawPath(lens);
        QPainterPath play;
        play.moveTo(32, 38);
        play.lineTo(52, 50);
        play.lineTo(32, 62);
        play.closeSubpath();
        p.setBrush(accent);
        p.drawPath(play);
        break;
    }
    case Glyph::Pdf: {
        drawDocument(p, QRectF(22, 12, 56, 76), c, 18);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(19);
        font.setWeight(QFont::Black);
        p.setFont(font);
        p.setPen(accent);
        p.drawText(QRectF(22, 42, 56, 30), Qt::AlignCenter, QStringLiteral("PDF"));
        break;
    }
    case Glyph::Backup: {
        QPainterPath cloud;
        cloud.setFillRule(Qt::WindingFill);
        cloud.addEllipse(QRectF(14, 40, 30, 30));
        cloud.addEllipse(QRectF(30, 24, 40, 40));
        cloud.addEllipse(QRectF(56, 40, 30, 30));
        cloud.addRoundedRect(QRectF(14, 50, 72, 26), 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(cloud);
        p.setPen(roundPen(accent, 7));
        p.drawLine(QPointF(50, 68), QPointF(50, 44));
        p.drawLine(QPointF(40, 53), QPointF(50, 43));
        p.drawLine(QPointF(60, 53), QPointF(50, 43));
        break;
    }
    case Glyph::Audio:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(38, 12, 24, 46), 12, 12);
        p.setPen(roundPen(c, 7));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(26, 28, 48, 44), 180 * 16, 180 * 16);
        p.drawLine(QPointF(50, 72), QPointF(50, 84));
        p.drawLine(QPointF(36, 86), QPointF(64, 86));
        break;
    case Glyph::Recovery:
        arcArrow(p, { 50, 50 }, 32, 130, -290, 8, c);
        p.setPen(roundPen(c, 7));
        p.drawLine(QPointF(50, 50), QPointF(50, 32));
        p.drawLine(QPointF(50, 50), QPointF(62, 58));
        break;
    case Glyph::Lightning: {
        QPainterPath bolt;
        bolt.moveTo(60, 6);
        bolt.lineTo(20, 56);
        bolt.lineTo(46, 56);
        bolt.lineTo(38, 94);
        bolt.lineTo(80, 42);
        bolt.lineTo(54, 42);
        bolt.closeSubpath();
        p.setPen(roundPen(c, 4));
        p.setBrush(c);
        p.drawPath(bolt);
        break;
    }
    case Glyph::Files: {
        QColor back = c;
        back.setAlphaF(0.45);
        drawDocument(p, QRectF(40, 8, 46, 60), back, 14);
        back.setAlphaF(0.7);
        drawDocument(p, QRectF(27, 20, 46, 60), back, 14);
        drawDocument(p, QRectF(14, 32, 46, 60), c, 14);
        break;
    }
    case Glyph::Users: {
        QColor back = c;
        back.setAlphaF(0.55);
        drawPerson(p, { 70, 30 }, 20, back);
        drawPerson(p, { 38, 34 }, 26, c);
        break;
    }
    case Glyph::Sparkle:
        drawStar(p, { 44, 56 }, 38, c);
        drawStar(p, { 78, 20 }, 16, c);
        break;
    case Glyph::Wave: {
        QPainterPath wave;
        wave.moveTo(10, 62);
        wave.cubicTo(26, 14, 46, 14, 50, 50);
        wave.cubicTo(54, 86, 74, 86, 90, 38);
        p.setPen(roundPen(c, 12));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
    }
    case Glyph::Gauge:
        p.setPen(roundPen(c, 11));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(12, 18, 76, 76), 200 * 16, -220 * 16);
        p.drawLine(QPointF(50, 56), QPointF(70, 34));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(50, 56), 9, 9);
        break;
    case Glyph::ArrowUp: {
        QPainterPath arrow;
        arrow.moveTo(50, 10);
        arrow.lineTo(86, 48);
        arrow.lineTo(62, 48);
        arrow.lineTo(62, 88);
        arrow.lineTo(38, 88);
        arrow.lineTo(38, 48);
        arrow.lineTo(14, 48);
        arrow.closeSubpath();
        p.setPen(roundPen(c, 6));
        p.setBrush(c);
        p.drawPath(arrow);
        break;
    }
    case Glyph::Warning: {
        QPainterPath triangle;
        triangle.moveTo(50, 12);
        triangle.lineTo(90, 84);
        triangle.lineTo(10, 84);
        triangle.closeSubpath();
        p.setPen(roundPen(c, 12));
        p.setBrush(c);
        p.drawPath(triangle);
        p.setPen(roundPen(accent, 9));
        p.drawLine(QPointF(50, 38), QPointF(50, 60));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(QPointF(50, 74), 5.5, 5.5);
        break;
    }
    case Glyph::Check:
        p.setPen(roundPen(c, 13));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({ QPointF(18, 52), QPointF(40, 74), QPointF(82, 28) }));
        break;
    }
}

}

void drawGlyph(
    QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour, const QColor& accent)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 100.0, box.height() / 100.0);
    drawInUnitBox(painter, glyph, colour, accent);
    painter.restore();
}
