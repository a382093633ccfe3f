#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// What the count and the deletion of an installation agree on.
namespace InstallationEntries {

// Hidden and system entries are left out, so they are neither counted nor deleted.
inline QDir::Filters countFilters()
{
    return QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot;
}

inline QDir::Filters deletionFilters()
{
    return countFilters() | QDir::Drives;
}

// A link (or a Windows junction) is an entry of its own: it is removed, never entered, so
// that nothing outside the installation is counted or touched.
inline bool isLink(const QFileInfo& entry)
{
    return entry.isSymLink() || entry.isJunction();
}

inline bool isRealDirectory(const QFileInfo& entry)
{
    return entry.isDir() && !isLink(entry);
}

// The setup tool's own uninstaller lives beside the application and must outlive the wizard.
inline bool belongsToSetupTool(const QString& path)
{
    return path.contains(QLatin1String("unins000"));
}

} // namespace InstallationEntries
