#pragma once

#include "removal/installationmarks.h"
#include "removal/removaloutcome.h"

#include <QDir>
#include <QThread>
#include <QVector>

class InstallationTree;

// Deletes the contents of an installation directory on its own thread: every file and
// sub-directory below the root except the setup tool's "unins000" files, files first, then
// the directories deepest first. The root itself stays, and so does everything when the root
// is no installation of this product. Reports the running count of entries handled after each
// one, and the end of the pass; outcome() then tells what was removed and what stayed.
class FileDeletionThread : public QThread {
    Q_OBJECT
public:
    explicit FileDeletionThread(const QDir& root);
    // With the marks the root must carry; the default ones are the running host's.
    FileDeletionThread(const QDir& root, const InstallationMarks& marks);
    // Waits for a pass still running: the owner may end before the deletion does.
    ~FileDeletionThread() override;

    // What the last pass did; complete once deleteComplete has been emitted.
    RemovalOutcome outcome() const { return m_outcome; }

signals:
    void updateBar(int value);
    void deleteComplete();
    // On the deletion thread, after the scan and before the first removal: how many entries
    // the pass will handle.
    void scanned(int entries);

protected:
    void run() override;

private:
    void removeAll(InstallationTree& tree);
    void finish();

    QDir root;
    InstallationMarks marks;
    QVector<std::size_t> files;
    QVector<std::size_t> dirs;
    RemovalOutcome m_outcome;
};
