#include "glyphs.h"
#include "pictures.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <tuple>

namespace {

QPen roundPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawSpinner(QPainter& p, int frame)
{
    const QPointF centre(80, 80);
    const QRectF ring(centre.x() - 62, centre.y() - 62, 124, 124);
    p.setPen(roundPen(QColor(Palette::greyLine), 12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);
    drawGlyph(p, Glyph::Converter, QRectF(48, 48, 64, 64), QColor(Palette::blue));
    if (frame < 0)
        return;
    // The head turns clockwise by a twelfth per frame; its tail fades out behind it.
    const qreal head = 90 - 30.0 * frame;
    const qreal tail = 130;
    QConicalGradient fade(centre, head);
    fade.setColorAt(0, QColor(Palette::blue));
    fade.setColorAt(tail / 360, Painting::withAlpha(Palette::blue, 0));
    fade.setColorAt(1, Painting::withAlpha(Palette::blue, 0));
    p.setPen(QPen(QBrush(fade), 12, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(ring, qRound(head * 16), qRound(tail * 16));
    const qreal radians = qDegreesToRadians(head);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::blue));
    p.drawEllipse(centre + QPointF(62 * qCos(radians), -62 * qSin(radians)), 6, 6);
}

void drawCheckRow(QPainter& p, qreal y, bool checked, QRgb tick, qreal lineLength)
{
    const QRectF box(92, y, 16, 16);
    p.setPen(roundPen(QColor(checked ? tick : 0xffb8c0cc), 2));
    p.setBrush(checked ? QColor(tick) : QColor(Palette::white));
    p.drawRoundedRect(box, 4, 4);
    if (checked)
        drawGlyph(p, Glyph::Check, box.adjusted(2, 2, -2, -2), QColor(Palette::white));
    p.setPen(roundPen(QColor(Palette::greyLine), 6));
    p.drawLine(QPointF(118, y + 8), QPointF(118 + lineLength, y + 8));
}

// Reason page: feedback clipboard. The pill below the centre is where the wizard floats the
// user count (the skin places it at the picture's centre plus 70 pixels down).
void drawHint(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::blueLight));
    p.drawEllipse(QPointF(130, 100), 96, 90);
    p.setBrush(Painting::withAlpha(Palette::orange, 40));
    p.drawEllipse(QPointF(206, 46), 16, 16);
    p.setBrush(Painting::withAlpha(Palette::teal, 50));
    p.drawEllipse(QPointF(44, 150), 10, 10);

    const QRectF board(78, 34, 104, 138);
    Painting::drawSoftShadow(p, board, 12, 6, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::blue));
    p.drawRoundedRect(board, 12, 12);
    p.setBrush(QColor(Palette::white));
    p.drawRoundedRect(board.adjusted(8, 14, -8, -8), 6, 6);
    p.setBrush(QColor(Palette::navy));
    p.drawRoundedRect(QRectF(108, 26, 44, 16), 6, 6);
    drawCheckRow(p, 62, true, Palette::teal, 48);
    drawCheckRow(p, 92, false, Palette::teal, 40);
    drawCheckRow(p, 122, true, Palette::orange, 52);

    // Speech bubble with a heart: the feedback is welcome.
    const QRectF bubble(170, 66, 54, 40);
    QPainterPath bubblePath;
    bubblePath.setFillRule(Qt::WindingFill);
    bubblePath.addRoundedRect(bubble, 12, 12);
    bubblePath.addPolygon(QPolygonF({ QPointF(178, 98), QPointF(174, 118), QPointF(196, 104) }));
    Painting::drawSoftShadow(p, bubble, 12, 4, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::orange));
    p.drawPath(bubblePath);
    QPainterPath heart;
    heart.moveTo(197, 97);
    heart.cubicTo(186, 90, 183, 81, 187, 77);
    heart.cubicTo(191, 73, 196, 75, 197, 79);
    heart.cubicTo(198, 75, 203, 73, 207, 77);
    heart.cubicTo(211, 81, 208, 90, 197, 97);
    p.setBrush(QColor(Palette::white));
    p.drawPath(heart);

    const QRectF pill(45, 191, 170, 30);
    Painting::drawSoftShadow(p, pill, 15, 5, 30);
    p.setBrush(QColor(Palette::white));
    p.drawRoundedRect(pill, 15, 15);
}

void drawWindowMock(QPainter& p, const QRectF& window, qreal progress)
{
    Painting::drawSoftShadow(p, window, 12, 7, 45);
    QPainterPath outline;
    outline.addRoundedRect(window, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::white));
    p.drawPath(outline);
    p.save();
    p.setClipPath(outline);
    p.setBrush(QColor(Palette::blue));
    p.drawRect(QRectF(window.left(), window.top(), window.width(), 22));
    p.restore();
    p.setBrush(Painting::withAlpha(Palette::white, 200));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(window.left() + 14 + 11 * i, window.top() + 11), 3.5, 3.5);

    const qreal inner = window.left() + 16;
    drawGlyph(p, Glyph::Converter, QRectF(inner, window.top() + 34, 34, 34), QColor(Palette::blue));
    p.setPen(roundPen(QColor(Palette::greyLine), 7));
    p.drawLine(
        QPointF(inner + 46, window.top() + 44), QPointF(window.right() - 20, window.top() + 44));
    p.drawLine(
        QPointF(inner + 46, window.top() + 60), QPointF(window.right() - 50, window.top() + 60));
    if (progress <= 0)
        return;
    const qreal barY = window.bottom() - 22;
    p.drawLine(QPointF(inner, barY), QPointF(window.right() - 16, barY));
    p.setPen(roundPen(QColor(Palette::blue), 7));
    p.drawLine(
        QPointF(inner, barY), QPointF(inner + (window.right() - 16 - inner) * progress, barY));
}

void drawBadge(QPainter& p, const QPointF& centre, qreal radius, QRgb fill, Glyph glyph)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::white));
    p.drawEllipse(centre, radius + 4, radius + 4);
    p.setBrush(QColor(fill));
    p.drawEllipse(centre, radius, radius);
    const qreal g = radius * 0.62;
    drawGlyph(p, glyph, QRectF(centre.x() - g, centre.y() - g, 2 * g, 2 * g),
        QColor(Palette::white), QColor(fill));
}

// Update page, left: the program with a newer version on its way.
void drawUpdate(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::blueLight));
    p.drawEllipse(QPointF(130, 100), 110, 86);
    drawWindowMock(p, QRectF(40, 34, 170, 120), 0.72);
    drawBadge(p, QPointF(204, 144), 30, Palette::orange, Glyph::ArrowUp);
    drawGlyph(p, Glyph::Sparkle, QRectF(214, 34, 30, 30), QColor(Palette::yellow));
    drawGlyph(p, Glyph::Sparkle, QRectF(18, 150, 22, 22), QColor(Palette::teal));
}

// Update page, right: a round upgrade sign above the question.
void drawUpdateTip(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::blueLight));
    p.drawEllipse(QPointF(56, 56), 54, 54);
    QLinearGradient fill(QPointF(20, 20), QPointF(92, 92));
    fill.setColorAt(0, QColor(0xff4f95ff));
    fill.setColorAt(1, QColor(Palette::blueDark));
    p.setBrush(fill);
    p.drawEllipse(QPointF(56, 56), 36, 36);
    drawGlyph(p, Glyph::ArrowUp, QRectF(36, 34, 40, 40), QColor(Palette::white));
    p.setBrush(QColor(Palette::orange));
    p.drawEllipse(QPointF(92, 24), 7, 7);
}

// Running-program dialog: the program's window with a warning on it.
void drawCheckClose(QPainter& p)
{
    drawWindowMock(p, QRectF(14, 12, 104, 74), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::white));
    p.drawEllipse(QPointF(112, 72), 25, 25);
    drawGlyph(
        p, Glyph::Warning, QRectF(92, 50, 40, 40), QColor(Palette::orange), QColor(Palette::white));
}

enum class BoxState { Unchecked, Hover, Checked, Disabled, CheckedDisabled };

void drawCheckBox(QPainter& p, BoxState state)
{
    const QRectF box(1, 1, 16, 16);
    const bool checked = state == BoxState::Checked || state == BoxState::CheckedDisabled;
    QRgb fill = Palette::white;
    QRgb border = 0xffb8c0cc;
    switch (state) {
    case BoxState::Unchecked:
        break;
    case BoxState::Hover:
        border = Palette::blue;
        break;
    case BoxState::Checked:
        fill = border = Palette::blue;
        break;
    case BoxState::Disabled:
        fill = Palette::greyBackground;
        border = Palette::greyLine;
        break;
    case BoxState::CheckedDisabled:
        fill = border = 0xffa9c6ff;
        break;
    }
    p.setPen(QPen(QColor(border), 1.5));
    p.setBrush(QColor(fill));
    p.drawRoundedRect(box.adjusted(0.75, 0.75, -0.75, -0.75), 4, 4);
    if (checked)
        drawGlyph(p, Glyph::Check, box.adjusted(3, 3, -3, -3), QColor(Palette::white));
}

void drawCloseButton(QPainter& p, bool hover)
{
    if (hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(Palette::red));
        p.drawEllipse(QRectF(2, 2, 24, 24));
    }
    p.setPen(roundPen(QColor(hover ? Palette::white : Palette::greyText), 2));
    p.drawLine(QPointF(9.5, 9.5), QPointF(18.5, 18.5));
    p.drawLine(QPointF(18.5, 9.5), QPointF(9.5, 18.5));
}

void drawPagerButton(QPainter& p, bool next, bool hover)
{
    p.setPen(hover ? Qt::NoPen : QPen(QColor(Palette::greyLine), 1.5));
    p.setBrush(QColor(hover ? Palette::blue : Palette::white));
    p.drawEllipse(QRectF(1.5, 1.5, 25, 25));
    p.setPen(roundPen(QColor(hover ? Palette::white : Palette::navy), 2.2));
    const qreal x = next ? 12 : 16;
    const qreal dx = next ? 4.5 : -4.5;
    p.drawPolyline(QPolygonF({ QPointF(x, 9), QPointF(x + dx, 14), QPointF(x, 19) }));
}

// Uninstalling page, finished: a round tick in the colour of success.
void drawFinished(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::tealDark));
    p.drawEllipse(QRectF(1, 1, 26, 26));
    drawGlyph(p, Glyph::Check, QRectF(7, 7, 14, 14), QColor(Palette::white));
}

QImage picture(const QSize& size, const std::function<void(QPainter&)>& draw)
{
    return Painting::render(size, draw, size.width() > 120 ? 2 : 4);
}

}

QVector<Picture> loadingFrames()
{
    QVector<Picture> pictures;
    pictures.append({ QStringLiteral("loading/loading.png"),
        picture(QSize(160, 160), [](QPainter& p) { drawSpinner(p, -1); }) });
    for (int frame = 0; frame < 12; ++frame) {
        pictures.append({ QStringLiteral("loading/%1.png").arg(frame),
            picture(QSize(160, 160), [frame](QPainter& p) { drawSpinner(p, frame); }) });
    }
    return pictures;
}

QVector<Picture> skinPictures()
{
    // Loading frames and card backgrounds are drawn larger than shown and scaled down; every
    // other picture is shown as it is, so it comes in a second size for zoomed interfaces.
    QVector<Picture> pictures = cardBackgrounds() + loadingFrames() + stickerPicture();
    pictures += Painting::bothSizes(QStringLiteral("hint.png"), QSize(260, 260), drawHint);
    pictures += Painting::bothSizes(QStringLiteral("update.png"), QSize(260, 200), drawUpdate);
    pictures
        += Painting::bothSizes(QStringLiteral("update_tip.png"), QSize(112, 112), drawUpdateTip);
    pictures
        += Painting::bothSizes(QStringLiteral("check_close.png"), QSize(140, 100), drawCheckClose);
    pictures += Painting::bothSizes(QStringLiteral("finished.png"), QSize(28, 28), drawFinished);

    const std::pair<const char*, BoxState> boxes[] = {
        { "checkbox.png", BoxState::Unchecked },
        { "checkbox_hover.png", BoxState::Hover },
        { "checkbox_checked.png", BoxState::Checked },
        { "checkbox_disabled.png", BoxState::Disabled },
        { "checkbox_checked_disabled.png", BoxState::CheckedDisabled },
    };
    for (const auto& [file, state] : boxes) {
        pictures += Painting::bothSizes(QLatin1String(file), QSize(18, 18),
            [state = state](QPainter& p) { drawCheckBox(p, state); });
    }
    for (const bool hover : { false, true }) {
        const QString suffix = hover ? QStringLiteral("_hover.png") : QStringLiteral(".png");
        pictures += Painting::bothSizes(QStringLiteral("close") + suffix, QSize(28, 28),
            [hover](QPainter& p) { drawCloseButton(p, hover); });
        pictures += Painting::bothSizes(QStringLiteral("pager_prev") + suffix, QSize(28, 28),
            [hover](QPainter& p) { drawPagerButton(p, false, hover); });
        pictures += Painting::bothSizes(QStringLiteral("pager_next") + suffix, QSize(28, 28),
            [hover](QPainter& p) { drawPagerButton(p, true, hover); });
    }

    const std::tuple<const char*, Glyph, QRgb> features[] = {
        { "feature_formats.png", Glyph::Files, Palette::blue },
        { "feature_speed.png", Glyph::Lightning, Palette::orange },
        { "feature_users.png", Glyph::Users, Palette::teal },
        { "feature_powerful.png", Glyph::Sparkle, Palette::blue },
        { "feature_smooth.png", Glyph::Wave, Palette::teal },
        { "feature_faster.png", Glyph::Gauge, Palette::orange },
    };
    for (const auto& [file, glyph, colour] : features) {
        pictures += Painting::bothSizes(
            QLatin1String(file), QSize(16, 16), [glyph = glyph, colour = colour](QPainter& p) {
                drawGlyph(p, glyph, QRectF(0, 0, 16, 16), QColor(colour));
            });
    }
    return pictures;
}
