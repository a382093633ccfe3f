#include "content/uninstallprofile.h"

#include <QTimer>

// Placeholder until the configuration loader lands: delivers nothing but the end of loading.
UninstallProfile::UninstallProfile(QObject* parent)
    : QObject(parent)
{
    registerContentMetaTypes();
    QTimer::singleShot(0, this, &UninstallProfile::loadDefaultRes);
}

UninstallProfile::~UninstallProfile() = default;

void UninstallProfile::onReplaryFinished() { }
void UninstallProfile::readConfigTimeout() { }
void UninstallProfile::parseUninstallConfig() { }
void UninstallProfile::parseDefaultJson() { }

void UninstallProfile::loadDefaultRes()
{
    emit downLoadResEmit();
}
