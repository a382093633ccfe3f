#include "content/updaterlocation.h"

#include "platform.h"
#include "ternproductinfo.h"

#include <QStandardPaths>

QString updaterDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation) + QStringLiteral("/updater/");
}

QString updaterPath()
{
    return updaterDirectory() + Platform::executableFileName(TernProductInfo::instance()->productName(QString()));
}
