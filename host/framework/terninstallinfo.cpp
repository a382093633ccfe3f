#include "terninstallinfo.h"

#include "ternsettings.h"

void TernInstallInfo::deregisterInstall()
{
    TernSettings::instance()->setValue(QStringLiteral("install/registered"), false);
}
