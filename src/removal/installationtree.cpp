#include "removal/installationtree.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

using Tree = Platform::DirectoryTree;

#ifdef Q_OS_WIN
const Platform::NativeString kSetupTool = L"unins000";

QString decoded(const Platform::NativeString& name)
{
    return QString::fromStdWString(name);
}

Platform::NativeString encoded(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}
#else
const Platform::NativeString kSetupTool = "unins000";

QString decoded(const Platform::NativeString& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

Platform::NativeString encoded(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
#endif

Leftover::Reason reasonFor(Tree::Outcome outcome)
{
    switch (outcome) {
    case Tree::Outcome::InUse:
        return Leftover::InUse;
    case Tree::Outcome::Permission:
        return Leftover::Permission;
    case Tree::Outcome::NotEmpty:
        return Leftover::NotEmpty;
    case Tree::Outcome::Changed:
        return Leftover::Changed;
    case Tree::Outcome::Removed:
    case Tree::Outcome::Gone:
    case Tree::Outcome::Failed:
        break;
    }
    return Leftover::Failed;
}

} // namespace

InstallationTree::InstallationTree(const QString& root)
    : m_root(QDir::cleanPath(root))
{
}

bool InstallationTree::scan()
{
    if (!m_tree.open(encoded(m_root)))
        return false;
    m_tree.scan();
    sort();
    return true;
}

QString InstallationTree::errorText() const
{
    return QString::fromStdString(m_tree.errorText());
}

void InstallationTree::sort()
{
    const std::vector<Tree::Entry>& entries = m_tree.entries();
    // A name cannot hold a separator, so the setup tool's name is either in the root's own
    // path, in an entry's name, or in one of its parents'.
    const bool rootIsSetupTool = encoded(m_root).find(kSetupTool) != Platform::NativeString::npos;
    std::vector<bool> setupTool(entries.size(), false);
    m_listedDirectories = 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Tree::Entry& entry = entries[i];
        const bool parentIsSetupTool
            = entry.parent == Tree::kRoot ? rootIsSetupTool : setupTool[entry.parent];
        setupTool[i]
            = parentIsSetupTool || entry.name.find(kSetupTool) != Platform::NativeString::npos;
        const bool isDirectory = entry.kind == Tree::Kind::Directory;
        // Hidden entries and mount points are neither counted nor entered.
        if (entry.hidden || entry.kind == Tree::Kind::MountPoint) {
            if (!parentIsSetupTool)
                m_kept.append({ path(i), entry.hidden ? Leftover::Hidden : Leftover::MountPoint });
            continue;
        }
        if (isDirectory && !entry.unlisted)
            ++m_listedDirectories;
        if (!isDirectory)
            ++m_fileCount;
        if (setupTool[i]) {
            if (!parentIsSetupTool)
                m_kept.append({ path(i), Leftover::SetupTool });
            continue;
        }
        (isDirectory ? m_directories : m_files).append(i);
    }
    std::stable_sort(m_directories.begin(), m_directories.end(),
        [&entries](std::size_t a, std::size_t b) { return entries[a].depth > entries[b].depth; });
}

bool InstallationTree::remove(std::size_t index, Leftover::Reason* reason)
{
    const Tree::Outcome outcome = m_tree.remove(index);
    // Gone already is what the removal wanted.
    if (outcome == Tree::Outcome::Removed || outcome == Tree::Outcome::Gone)
        return true;
    *reason = reasonFor(outcome);
    // A folder that could not even be listed stays for want of permission, not for its contents.
    if (*reason == Leftover::NotEmpty && m_tree.entries()[index].unlisted)
        *reason = Leftover::Permission;
    return false;
}

QString InstallationTree::path(std::size_t index) const
{
    return m_root + QLatin1Char('/') + decoded(m_tree.relativePath(index));
}

QString InstallationTree::name(std::size_t index) const
{
    return decoded(m_tree.entries()[index].name);
}
