#include "entry/useridentifier.h"

#include "entry/logging.h"
#include "wizard/uninstall.h"

#include "platform.h"
#include "ternproductinfo.h"

namespace {

const QString kValueName = QStringLiteral("CEIPIdentifier");
// The stored value holds the braced UUID text; anything longer does not fit and is unreadable.
const int kIdentifierLength = 38;

QString readIdentifier(const Platform::UserRegistryKey& key)
{
    const Platform::RegistryValue value = key.value(kValueName);
    if (value.type != Platform::RegistryValueType::String
        || value.text.toLocal8Bit().size() > kIdentifierLength)
        return {};
    return value.text;
}

} // namespace

QString readOrCreateUserId()
{
    const QString keyPath = QStringLiteral("Software\\Classes\\CLSID\\")
        + TernProductInfo::instance()->GUID(QString());
    Platform::UserRegistryKey key;
    if (!key.create(keyPath)) {
        // Nothing can be stored: this run gets a fresh identifier of its own.
        return Platform::createUuidString();
    }
    QString id = readIdentifier(key);
    if (id.isEmpty()) {
        // The default registry view may hold it where the 64-bit view does not.
        Platform::UserRegistryKey readOnly;
        if (readOnly.openReadOnly(keyPath))
            id = readIdentifier(readOnly);
    }
    if (!id.isEmpty())
        return id;
    id = Platform::createUuidString();
    if (!id.isEmpty())
        key.setString(kValueName, id);
    return id;
}

void createUID(Uninstall* window)
{
    const QString id = readOrCreateUserId();
    window->setUserId(id);
    UninstallLog::debug(QStringLiteral("uid CEIPIdentifier:") + id);
}
