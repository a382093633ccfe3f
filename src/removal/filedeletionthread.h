#pragma once

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QThread>

// Deletes the contents of an installation directory on its own thread: every file and
// sub-directory below the root except the setup tool's "unins000" files, files first, then
// the directories deepest first. The root itself stays. Reports the running count of entries
// handled after each one, and the end of the pass.
class FileDeletionThread : public QThread {
    Q_OBJECT
public:
    explicit FileDeletionThread(const QDir& root);
    // Waits for a pass still running: the owner may end before the deletion does.
    ~FileDeletionThread() override;

signals:
    void updateBar(int value);
    void deleteComplete();

protected:
    void run() override;

private:
    void scan(const QString& path, int depth, QList<QPair<int, QString>>* directories);
    void removeAll();

    QDir root;
    QList<QFileInfo> files;
    QList<QDir> dirs;
};
