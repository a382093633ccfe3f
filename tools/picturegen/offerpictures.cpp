#include "glyphs.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

namespace {

// No text carries a figure: the wizard's own texts tell the discount, from the host or the
// price file, and a picture must not contradict them.
struct OfferTexts {
    QString headline;
    QString subline;
    QString tagline;
    QString save;
};

OfferTexts localTexts(const QString& language)
{
    if (language == QLatin1String("de"))
        return { QStringLiteral("Begrenztes Angebot – günstiger zu Pro"),
            QStringLiteral("Weiter alles konvertieren und dabei sparen – nur heute"),
            QStringLiteral("Videos, Audio und Dokumente mit einem Klick umwandeln"),
            QStringLiteral("Jetzt sparen") };
    if (language == QLatin1String("fr"))
        return { QStringLiteral("Offre limitée – Pro pour moins cher"),
            QStringLiteral("Continuez à tout convertir pour moins cher – aujourd'hui seulement"),
            QStringLiteral("Convertissez vidéos, audio et documents en un clic"),
            QStringLiteral("Économisez") };
    if (language == QLatin1String("zh_CN"))
        return { QStringLiteral("限时优惠 – 专业版更实惠"),
            QStringLiteral("继续畅享全能格式转换，仅限今日"),
            QStringLiteral("一键转换视频、音频和文档"), QStringLiteral("立即省钱") };
    return { QStringLiteral("Limited offer – Pro for less"),
        QStringLiteral("Keep converting everything for less – today only"),
        QStringLiteral("Convert video, audio and documents in one click"),
        QStringLiteral("Save now") };
}

OfferTexts remoteTexts(const QString& language)
{
    if (language == QLatin1String("de"))
        return { QStringLiteral("Online-Angebot – nur diese Woche"),
            QStringLiteral("Alle Pro-Funktionen zum Sonderpreis"),
            QStringLiteral("Nur diese Woche: alle Pro-Funktionen zum Sonderpreis"),
            QStringLiteral("Jetzt sparen") };
    if (language == QLatin1String("fr"))
        return { QStringLiteral("Offre en ligne – cette semaine"),
            QStringLiteral("Toutes les fonctions Pro à prix spécial"),
            QStringLiteral("Cette semaine : toutes les fonctions Pro à prix spécial"),
            QStringLiteral("Économisez") };
    if (language == QLatin1String("zh_CN"))
        return { QStringLiteral("在线特惠 – 仅限本周"), QStringLiteral("全部专业版功能，特价畅享"),
            QStringLiteral("仅限本周：专业版功能特价"), QStringLiteral("立即省钱") };
    return { QStringLiteral("Remote offer – this week only"),
        QStringLiteral("All Pro features at a special price"),
        QStringLiteral("This week only: every Pro feature at a special price"),
        QStringLiteral("Save now") };
}

const QSize bannerSize(817, 74);
const QSize promotionSize(360, 200);
// The banner's right end stays calm: the skin puts the "Buy Now" button there.
const qreal bannerButtonArea = 190;

void drawRemoteTag(QPainter& p, const QPointF& topLeft, qreal height)
{
    Painting::drawPill(p, topLeft, height, QStringLiteral("REMOTE"),
        Painting::font(QString(), height * 0.6, QFont::Bold), QColor(Palette::yellow),
        QColor(Palette::navy), height * 0.5);
}

void drawBanner(QPainter& p, const QString& language, bool remote)
{
    const OfferTexts texts = remote ? remoteTexts(language) : localTexts(language);
    const QRectF area(QPointF(0, 0), bannerSize);

    QLinearGradient background(area.topLeft(), area.topRight());
    background.setColorAt(0, QColor(remote ? Palette::purple : Palette::blue));
    background.setColorAt(1, QColor(remote ? Palette::pink : Palette::blueDark));
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(area, 12, 12);

    p.save();
    p.setClipRect(area);
    p.setBrush(Painting::withAlpha(Palette::white, 22));
    p.drawEllipse(QPointF(area.width() - 120, -6), 70, 70);
    p.drawEllipse(QPointF(area.width() - 250, 86), 46, 46);
    p.setBrush(Painting::withAlpha(Palette::white, 14));
    p.drawEllipse(QPointF(area.width() - 40, 70), 48, 48);
    p.restore();

    const QFont badgeFont = Painting::font(language, 21, QFont::Black);
    const qreal badgeWidth = Painting::drawPill(p, QPointF(20, 17), 40, QStringLiteral("%"),
        badgeFont, QColor(remote ? Palette::yellow : Palette::orangeDark),
        QColor(remote ? Palette::navy : Palette::white), 14);

    const qreal textLeft = 20 + badgeWidth + 18;
    const qreal textWidth = area.width() - bannerButtonArea - textLeft;
    QFont headlineFont = Painting::font(language, 22, QFont::Bold);
    const QString headline = texts.headline;
    while (Painting::textWidth(headline, headlineFont) > textWidth - (remote ? 90 : 0))
        headlineFont.setPixelSize(headlineFont.pixelSize() - 1);
    p.setPen(QColor(Palette::white));
    p.setFont(headlineFont);
    p.drawText(QRectF(textLeft, 10, textWidth, 32), Qt::AlignLeft | Qt::AlignVCenter, headline);
    if (remote)
        drawRemoteTag(
            p, QPointF(textLeft + Painting::textWidth(headline, headlineFont) + 12, 16), 20);

    p.setPen(Painting::withAlpha(Palette::white, 225));
    Painting::drawFittedText(p, QRectF(textLeft, 42, textWidth, 22),
        Qt::AlignLeft | Qt::AlignVCenter, texts.subline, Painting::font(language, 14));
}

void drawFileChip(QPainter& p, const QRectF& r, const QString& label, QRgb colour)
{
    Painting::drawSoftShadow(p, r, 8, 4, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::white));
    p.drawRoundedRect(r, 8, 8);
    p.setBrush(QColor(colour));
    p.drawRoundedRect(QRectF(r.left() + 6, r.top() + 6, r.height() - 12, r.height() - 12), 5, 5);
    p.setPen(QColor(Palette::navy));
    p.setFont(Painting::font(QString(), 12, QFont::Bold));
    p.drawText(r.adjusted(r.height() - 2, 0, -4, 0), Qt::AlignCenter, label);
}

void drawPromotion(QPainter& p, const QString& language, bool remote)
{
    const OfferTexts texts = remote ? remoteTexts(language) : localTexts(language);
    const QRectF area(QPointF(0, 0), promotionSize);
    QLinearGradient background(area.topLeft(), area.bottomRight());
    background.setColorAt(0, QColor(remote ? Palette::purple : 0xffeef4ff));
    background.setColorAt(1, QColor(remote ? Palette::blue : 0xffd9e6ff));
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(area, 16, 16);

    p.save();
    p.setClipRect(area);
    p.setBrush(
        remote ? Painting::withAlpha(Palette::white, 26) : Painting::withAlpha(Palette::blue, 18));
    p.drawEllipse(QPointF(294, 100), 88, 88);
    p.restore();

    const QColor ink(remote ? Palette::white : Palette::navy);
    p.setPen(ink);
    Painting::drawFittedText(p, QRectF(22, 22, 196, 30), Qt::AlignLeft | Qt::AlignVCenter,
        language == QLatin1String("zh_CN") ? QStringLiteral("Tern Converter 专业版")
                                           : QStringLiteral("Tern Converter Pro"),
        Painting::font(language, 21, QFont::Bold));
    p.setPen(remote ? Painting::withAlpha(Palette::white, 230) : QColor(0xff4a5670));
    Painting::drawFittedText(p, QRectF(22, 58, 190, 66),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texts.tagline,
        Painting::font(language, 14));

    Painting::drawPill(p, QPointF(22, 140), 36, texts.save,
        Painting::font(language, 16, QFont::Bold),
        QColor(remote ? Palette::yellow : Palette::orangeDark),
        QColor(remote ? Palette::navy : Palette::white), 16);
    // The top-right corner stays calm: the skin's sticker sits on it.
    if (remote)
        drawRemoteTag(p, QPointF(area.width() - 140, 12), 22);

    // The product at work: formats flowing into the converter.
    const QRectF icon(254, 60, 80, 80);
    Painting::drawSoftShadow(p, icon, 20, 6, 50);
    QLinearGradient iconFill(icon.topLeft(), icon.bottomRight());
    iconFill.setColorAt(0, QColor(0xff4f95ff));
    iconFill.setColorAt(1, QColor(Palette::blueDark));
    p.setPen(Qt::NoPen);
    p.setBrush(iconFill);
    p.drawRoundedRect(icon, 20, 20);
    drawGlyph(p, Glyph::Converter, icon.adjusted(14, 14, -14, -14), QColor(Palette::white));
    drawFileChip(p, QRectF(224, 46, 62, 26), QStringLiteral("MP4"), Palette::orange);
    drawFileChip(p, QRectF(224, 146, 62, 26), QStringLiteral("PDF"), Palette::red);
    drawFileChip(p, QRectF(292, 150, 62, 26), QStringLiteral("MP3"), Palette::pink);
}

void drawSticker(QPainter& p)
{
    QPolygonF burst;
    const int points = 16;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = M_PI * i / points + 0.1;
        const qreal radius = i % 2 ? 25.5 : 30.5;
        burst << QPointF(32 + radius * qCos(angle), 32 + radius * qSin(angle));
    }
    p.setPen(QPen(QColor(Palette::orange), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(Palette::orange));
    p.drawPolygon(burst);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Painting::withAlpha(Palette::white, 120), 1.2, Qt::DashLine));
    p.drawEllipse(QPointF(32, 32), 21, 21);
    p.setPen(QColor(Palette::white));
    p.setFont(Painting::font(QString(), 26, QFont::Black));
    p.save();
    p.translate(32, 32);
    p.rotate(-12);
    p.drawText(QRectF(-24, -20, 48, 40), Qt::AlignCenter, QStringLiteral("%"));
    p.restore();
}

}

QStringList shippedLanguages()
{
    return { QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
        QStringLiteral("zh_CN") };
}

QVector<Picture> offerPictures(bool remote)
{
    QVector<Picture> pictures;
    for (const QString& language : shippedLanguages()) {
        const QString file = language.toLower() + QStringLiteral(".png");
        // Drawn at twice the size they are shown at: the wizard scales them down to any zoom.
        pictures.append({ QStringLiteral("banner_pic/") + file,
            Painting::renderDouble(
                bannerSize, [&](QPainter& p) { drawBanner(p, language, remote); }, 2) });
        pictures.append({ QStringLiteral("promotion_pic/") + file,
            Painting::renderDouble(
                promotionSize, [&](QPainter& p) { drawPromotion(p, language, remote); }, 2) });
    }
    return pictures;
}

QVector<Picture> stickerPicture()
{
    return Painting::bothSizes(QStringLiteral("sticker.png"), QSize(64, 64), drawSticker);
}
