#include "content/updaterlocation.h"

#include "platform.h"

#include "ternproductinfo.h"

#include <QStandardPaths>

QString updaterPath()
{
    const QString name = TernProductInfo::instance()->productName(QString());
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation)
        + QStringLiteral("/updater/") + Platform::executableFileName(name);
}
