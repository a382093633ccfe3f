#pragma once

#include "removal/removaloutcome.h"

#include "directorytree.h"

#include <QString>
#include <QVector>

// An installation folder as its removal sees it: what to remove and in which order, and what
// stays by design. Hidden entries are neither counted nor removed, links are removed and never
// followed, other file systems mounted inside are left alone, and the setup tool's "unins000"
// files stay. Works on the system's own names, so no name is lost to its encoding.
class InstallationTree {
public:
    explicit InstallationTree(const QString& root);

    // Opens the root and lists everything below it; false when the root cannot be opened.
    bool scan();
    QString errorText() const;

    // Files in the order the scan met them, then the directories deepest first.
    const QVector<std::size_t>& files() const { return m_files; }
    const QVector<std::size_t>& directories() const { return m_directories; }
    // What the removal leaves alone on purpose.
    const QVector<Leftover>& keptByDesign() const { return m_kept; }
    // Files at any depth, the setup tool's included: the range of the removal's progress bar.
    int fileCount() const { return m_fileCount; }
    // Directories whose contents were listed, the root included.
    int listedDirectories() const { return m_listedDirectories; }

    // Removes one entry of files() or directories(); its leftover reason when it stays.
    bool remove(std::size_t index, Leftover::Reason* reason);
    QString path(std::size_t index) const;
    QString name(std::size_t index) const;

private:
    void sort();

    QString m_root;
    Platform::DirectoryTree m_tree;
    QVector<std::size_t> m_files;
    QVector<std::size_t> m_directories;
    QVector<Leftover> m_kept;
    int m_fileCount = 0;
    int m_listedDirectories = 0;
};
