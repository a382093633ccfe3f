#include "ternsettings.h"

#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The skin and the language name a folder and files (skins/<skin>, uninstall_<language>.qm,
// banner_pic_<language>.png); the file is the user's to edit, and a value that would reach
// another folder counts as unset.
QString componentOr(const QString& value, const QString& fallback)
{
    const bool component = !value.trimmed().isEmpty() && value != QLatin1String(".")
        && !value.contains(QLatin1Char('/')) && !value.contains(QLatin1Char('\\'))
        && !value.contains(QLatin1Char(':')) && !value.contains(QLatin1String(".."))
        && !value.contains(QChar(0));
    return component ? value : fallback;
}

} // namespace

TernSettings* TernSettings::instance()
{
    static TernSettings settings;
    return &settings;
}

TernSettings::~TernSettings()
{
    delete m_settings;
}

QSettings* TernSettings::settings()
{
    // The file follows the application name, which init sets from the product description.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/settings.ini");
    if (!m_settings || path != m_path) {
        delete m_settings;
        m_settings = new QSettings(path, QSettings::IniFormat);
        m_path = path;
    }
    return m_settings;
}

QString TernSettings::skin(const QString& defaultSkin)
{
    return componentOr(value(QStringLiteral("skin"), defaultSkin).toString(), defaultSkin);
}

QString TernSettings::language(const QString& defaultLanguage)
{
    return componentOr(
        value(QStringLiteral("language"), defaultLanguage).toString(), defaultLanguage);
}

void TernSettings::setLanguage(const QString& language)
{
    setValue(QStringLiteral("language"), language);
    sync();
}

QVariant TernSettings::value(const QString& key, const QVariant& defaultValue)
{
    QMutexLocker lock(&m_mutex);
    return settings()->value(key, defaultValue);
}

void TernSettings::setValue(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&m_mutex);
    settings()->setValue(key, value);
    settings()->sync();
}

void TernSettings::sync()
{
    QMutexLocker lock(&m_mutex);
    if (m_settings)
        m_settings->sync();
}

QString TernSettings::fileName()
{
    QMutexLocker lock(&m_mutex);
    return settings()->fileName();
}
