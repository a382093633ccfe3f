#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Flat pictograms drawn in one colour (plus an accent for cut-outs), scaled into any square.
enum class Glyph {
    Converter, // two arrows chasing each other: the brand mark
    Photo,
    Video,
    Pdf,
    Backup,
    Audio,
    Recovery,
    Lightning,
    Files,
    Users,
    Sparkle,
    Wave,
    Gauge,
    ArrowUp,
    Warning,
    Check,
};

void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour,
    const QColor& accent = Qt::transparent);
