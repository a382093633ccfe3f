#include "ternresourcemgr.h"

#include "productdescription.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QTranslator>

#include <cmath>

namespace {

// A skin is written for the base zoom; at any other zoom its lengths and font sizes grow with it.
// Pixels stay whole; point sizes keep their fraction, so that texts grow in the very proportion
// of the zoom and one that fits a line at 100 % fits it at any zoom.
QString scaleSkinLengths(const QString& sheet, double factor)
{
    if (qFuzzyCompare(factor, 1.0))
        return sheet;
    static const QRegularExpression length(QStringLiteral("(-?\\d+(?:\\.\\d+)?)(px|pt)\\b"));
    QString scaled;
    int last = 0;
    QRegularExpressionMatchIterator it = length.globalMatch(sheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        scaled += sheet.midRef(last, match.capturedStart() - last);
        const double value = match.captured(1).toDouble() * factor;
        const bool points = match.captured(2) == QLatin1String("pt");
        scaled += (points ? QString::number(value) : QString::number(qRound(value)))
            + match.captured(2);
        last = match.capturedEnd();
    }
    scaled += sheet.midRef(last);
    return scaled;
}

// Past the base zoom a picture the skin names is taken from its "@2x" variant where the skin
// ships one, so that it is scaled down to its place instead of up.
QString pickDoublePictures(const QString& sheet, double factor)
{
    if (factor <= 1.0)
        return sheet;
    static const QRegularExpression picture(
        QStringLiteral("url\\(\\s*[\"']?([^)\"']+)\\.png[\"']?\\s*\\)"));
    QString picked;
    int last = 0;
    QRegularExpressionMatchIterator it = picture.globalMatch(sheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString doubled = match.captured(1) + QStringLiteral("@2x.png");
        picked += sheet.midRef(last, match.capturedStart() - last);
        // Quoted: the style sheet parser takes no "@" in a bare address.
        picked += QFile::exists(doubled) ? QStringLiteral("url(\"%1\")").arg(doubled)
                                         : match.captured();
        last = match.capturedEnd();
    }
    picked += sheet.midRef(last);
    return picked;
}

} // namespace

TernResourceMgr* TernResourceMgr::instance()
{
    static TernResourceMgr manager;
    return &manager;
}

QString TernResourceMgr::productResourceRoot() const
{
    return ProductDescription::current().resourceRoot;
}

QString TernResourceMgr::productDir() const
{
    return ProductDescription::current().installDir;
}

QString TernResourceMgr::skinDir() const
{
    const QString skin = m_skin.isEmpty() ? ProductDescription::current().defaultSkin : m_skin;
    return productResourceRoot() + QStringLiteral("/skins/") + skin;
}

void TernResourceMgr::setCurrentSkin(const QString& skin)
{
    m_skin = skin;
    QFile file(skinDir() + QStringLiteral("/skin.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QString sheet = QString::fromUtf8(file.readAll());
    sheet.replace(QStringLiteral("${SKIN}"), skinDir());
    sheet.replace(QStringLiteral("${RESOURCES}"), productResourceRoot());
    const double zoom = getZoomDPI() / getBaseZoomDPI();
    sheet = pickDoublePictures(scaleSkinLengths(sheet, zoom), zoom);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        app->setStyleSheet(sheet);
}

QString TernResourceMgr::currentSkin() const
{
    return m_skin;
}

void TernResourceMgr::setCurrentLanguage(const QString& language)
{
    unloadTranslations();
    m_language = language;
    const QString dir = productResourceRoot() + QStringLiteral("/translations");
    const QList<QPair<QString, QString>> catalogues {
        { QStringLiteral("uninstall_") + language, dir },
        { QStringLiteral("qtbase_") + language,
            QLibraryInfo::location(QLibraryInfo::TranslationsPath) },
    };
    for (const auto& catalogue : catalogues) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(catalogue.first, catalogue.second)) {
            QCoreApplication::installTranslator(translator);
            m_translators.append(translator);
        } else {
            delete translator;
        }
    }
    const bool rightToLeft = language == QLatin1String("ar") || language == QLatin1String("ur")
        || language == QLatin1String("he") || language == QLatin1String("fa");
    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

QString TernResourceMgr::currentLanguage() const
{
    return m_language.isEmpty() ? ProductDescription::current().defaultLanguage : m_language;
}

void TernResourceMgr::unloadTranslations()
{
    for (QTranslator* translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators.clear();
}

QString TernResourceMgr::applicationIconPath()
{
    const QString skinIcon = instance()->skinDir() + QStringLiteral("/app_icon.png");
    if (QFile::exists(skinIcon))
        return skinIcon;
    return instance()->productResourceRoot() + QStringLiteral("/app_icon.png");
}

double TernResourceMgr::getZoomDPI()
{
    bool ok = false;
    const double forced = qEnvironmentVariable("TERN_ZOOM_DPI").toDouble(&ok);
    if (ok && forced > 0)
        return forced;
    // Display scaling comes in steps of a quarter, as the desktop offers it: 96 dpi is 100 %.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qMax(1.0, std::round(screen->logicalDotsPerInch() / 96.0 * 4.0) / 4.0);
    return 1.0;
}

double TernResourceMgr::getBaseZoomDPI()
{
    return 1.0;
}
