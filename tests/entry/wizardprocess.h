#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Wizards started as processes of their own through the host executable of an installation,
// as a user starts the uninstaller.
namespace WizardProcess {

// A fresh installation of the sample product in the sandbox (or in the absolute folder `name`)
// with these extended parameters (test mode, where nothing gets deleted, unless they say
// otherwise), under another product name when one is given.
QString makeInstallation(const QString& name, const QJsonObject& extendParams = {},
    const QString& productName = QString());

// Writes an autopilot script next to the installations and returns its path.
QString writeScript(const QString& name, const QStringList& steps);

// Starts the installation's uninstaller; with a script, the autopilot walks it. Each of
// `environmentChanges` ("NAME=value") replaces a variable of this process's environment.
void start(QProcess& process, const QString& installation, const QString& script = QString(),
    const QStringList& arguments = {}, const QStringList& environmentChanges = {});

struct Run {
    bool ended = false;
    int exitCode = -1;
    int result = -1; // what main_entry returned, as the host printed it
    QByteArray errors;

    // Whether the run ended normally with main_entry returning `expected` and the exit status
    // the host makes of it (a sanitizer's report changes the status); if not, says how it ended
    // and what the child wrote to its error output.
    bool returned(int expected) const;
};

// Runs the uninstaller to its end while this process's event loop keeps going, so that
// servers and windows of this process go on answering.
Run run(const QString& installation, const QString& script, const QStringList& arguments = {},
    int timeoutMs = 60000, const QStringList& environmentChanges = {});
// What a started uninstaller left: waits up to `timeoutMs` for it to end, else kills it.
Run finish(QProcess& process, int timeoutMs);

// The window handle the running wizard published for later starts; 0 when there is none.
// Only while a wizard runs: the last one to let go of the segment removes it.
quint32 publishedHandle(const QString& productName = QStringLiteral("Tern Converter"));

} // namespace WizardProcess
