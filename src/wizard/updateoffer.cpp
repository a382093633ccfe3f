// The update offer: "Upgrade Now" starts the downloaded updater instead of the removal.

#include "wizard/uninstall.h"

#include "content/updaterlocation.h"
#include "entry/logging.h"
#include "entry/uninstallaborted.h"

#include <QCoreApplication>
#include <QProcess>

void Uninstall::updateApp()
{
    if (dragging)
        return;
    UninstallLog::debug(QStringLiteral("Uninstall updateApp"));
    uninstallAborted = true;
    // The whole path is quoted: product names and data folders may hold spaces.
    const QString command = QLatin1Char('"') + updaterPath() + QLatin1Char('"');
    QStringList arguments = QProcess::splitCommand(command);
    if (!arguments.isEmpty()) {
        const QString program = arguments.takeFirst();
        QProcess::startDetached(program, arguments);
    }
    QCoreApplication::quit();
}
