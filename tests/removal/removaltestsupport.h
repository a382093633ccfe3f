#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace RemovalTest {

// Gives the sandbox's product a name no other process on the machine carries, and returns it.
// Termination works machine-wide by executable name: suites running side by side must never
// hit each other's processes.
QString makeProductNameUnique();

// Directs the wizard's log lines to the file the test environment reads back.
void openLog();

// Whether the file system refuses this process what a read-only directory forbids (it does
// not for a privileged user).
bool permissionsEnforced(const QString& scratchDir);

} // namespace RemovalTest

// Long-running processes started from copies of a program under names of the test's choosing;
// whatever still runs is killed when the set goes.
class ProcessCopies {
public:
    ProcessCopies() = default;
    ~ProcessCopies();
    ProcessCopies(const ProcessCopies&) = delete;
    ProcessCopies& operator=(const ProcessCopies&) = delete;

    bool isValid() const { return dir.isValid(); }
    // Copies `program` (by default /bin/sleep) to a file named `fileName` and starts it with
    // `arguments` (by default a long sleep); null when it does not start.
    QProcess* start(const QString& fileName, const QString& program = QString(),
        const QStringList& arguments = QStringList(), const QString& folder = QString());
    QString path(const QString& fileName) const { return dir.filePath(fileName); }

private:
    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> processes;
    QStringList extraCopies;
};
