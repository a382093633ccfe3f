#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Wizards started as processes of their own through the host executable of an installation,
// as a user starting the uninstaller a second time would.
namespace WizardProcess {

// A fresh installation of the sample product in test mode (nothing gets deleted), under
// another product name when one is given.
QString makeTestInstallation(const QString& name, const QString& productName = QString());

// Writes an autopilot script next to the installations and returns its path.
QString writeScript(const QString& name, const QStringList& steps);

// Starts the installation's uninstaller; with a script, the autopilot walks it.
void start(QProcess& process, const QString& installation, const QString& script = QString());

// The window handle the running wizard published for later starts; 0 when there is none.
// Only while a wizard runs: the last one to let go of the segment removes it.
quint32 publishedHandle(const QString& productName = QStringLiteral("Tern Converter"));

} // namespace WizardProcess
