#include "platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

// The per-user registry as a folder tree: one folder per key, its values in values.json,
// each value with its type, so that a string and a value of another type can be told apart.

namespace Platform {

namespace {

const QString kStringType = QStringLiteral("REG_SZ");

QString registryRoot()
{
    const QByteArray root = qgetenv("TERN_REGISTRY_ROOT");
    if (!root.isEmpty())
        return QFile::decodeName(root);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tern-registry/HKEY_CURRENT_USER");
}

// Key names never escape the hive: empty, "." and ".." components are dropped.
QString keyDirectory(const QString& path)
{
    QStringList parts;
    const QStringList components = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (QString part : components) {
        part.replace(QLatin1Char('/'), QLatin1Char('_'));
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            continue;
        parts.append(part);
    }
    return registryRoot() + QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

QJsonObject readValues(const QString& dir)
{
    QFile file(dir + QStringLiteral("/values.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool writeValues(const QString& dir, const QJsonObject& values)
{
    QSaveFile file(dir + QStringLiteral("/values.json"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(values).toJson());
    return file.commit();
}

} // namespace

UserRegistryKey::~UserRegistryKey()
{
    close();
}

bool UserRegistryKey::create(const QString& path)
{
    close();
    const QString dir = keyDirectory(path);
    // A key that cannot be written is refused, as a key opened for writing would be.
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable())
        return false;
    m_path = dir;
    m_open = true;
    m_writable = true;
    return true;
}

bool UserRegistryKey::openReadOnly(const QString& path)
{
    close();
    const QString dir = keyDirectory(path);
    if (!QDir(dir).exists())
        return false;
    m_path = dir;
    m_open = true;
    m_writable = false;
    return true;
}

RegistryValue UserRegistryKey::value(const QString& name) const
{
    RegistryValue result;
    if (!m_open)
        return result;
    const QJsonObject entry = readValues(m_path).value(name).toObject();
    if (entry.isEmpty())
        return result;
    if (entry.value(QStringLiteral("type")).toString() == kStringType) {
        result.type = RegistryValueType::String;
        result.text = entry.value(QStringLiteral("data")).toString();
    } else {
        result.type = RegistryValueType::Other;
    }
    return result;
}

bool UserRegistryKey::setString(const QString& name, const QString& text)
{
    if (!m_open || !m_writable)
        return false;
    QJsonObject values = readValues(m_path);
    values.insert(name,
        QJsonObject { { QStringLiteral("type"), kStringType }, { QStringLiteral("data"), text } });
    return writeValues(m_path, values);
}

bool UserRegistryKey::setBinary(const QString& name, const QByteArray& data)
{
    if (!m_open || !m_writable)
        return false;
    QJsonObject values = readValues(m_path);
    values.insert(name,
        QJsonObject { { QStringLiteral("type"), QStringLiteral("REG_BINARY") },
            { QStringLiteral("data"), QString::fromLatin1(data.toHex()) } });
    return writeValues(m_path, values);
}

bool UserRegistryKey::remove(const QString& name)
{
    if (!m_open || !m_writable)
        return false;
    QJsonObject values = readValues(m_path);
    values.remove(name);
    return writeValues(m_path, values);
}

void UserRegistryKey::close()
{
    m_open = false;
    m_writable = false;
    m_path.clear();
}

QString createUuidString()
{
    const QUuid uuid = QUuid::createUuid();
    if (uuid.isNull())
        return {};
    return uuid.toString(QUuid::WithBraces).toLower();
}

} // namespace Platform
