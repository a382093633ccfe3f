#include "entry/useridentifier.h"

#include "entry/logging.h"
#include "wizard/uninstall.h"

#include "platform.h"
#include "ternproductinfo.h"

namespace {
const QString kValueName = QStringLiteral("CEIPIdentifier");
}

QString readOrCreateUserId()
{
    const QString keyPath = QStringLiteral("Software\\Classes\\CLSID\\") + TernProductInfo::instance()->GUID(QString());
    Platform::UserRegistryKey key;
    if (!key.create(keyPath)) {
        // Nothing can be stored: this run gets a fresh identifier of its own.
        return Platform::createUuidString();
    }
    Platform::RegistryValue value = key.value(kValueName);
    if (value.type != Platform::RegistryValueType::String) {
        Platform::UserRegistryKey readOnly;
        value = readOnly.openReadOnly(keyPath) ? readOnly.value(kValueName) : Platform::RegistryValue {};
        if (value.type != Platform::RegistryValueType::String)
            value.text.clear();
    }
    if (!value.text.isEmpty())
        return value.text;
    const QString created = Platform::createUuidString();
    if (!created.isEmpty())
        key.setString(kValueName, created);
    return created;
}

void createUID(Uninstall* window)
{
    const QString id = readOrCreateUserId();
    window->setUserId(id);
    UninstallLog::debug(QStringLiteral("uid CEIPIdentifier:") + id);
}
