#include "removal/deletionguard.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

#ifdef Q_OS_WIN
const Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
const Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(path)).absolutePath());
}

// A directory can be named as written or, through links, by its resolved path; both count.
QStringList spellings(const QString& path)
{
    QStringList forms { cleanAbsolute(path) };
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty() && !forms.contains(canonical, pathCase))
        forms.append(canonical);
    return forms;
}

bool samePath(const QString& a, const QString& b)
{
    return a.compare(b, pathCase) == 0;
}

// Whether `path` lies strictly below `folder`.
bool isBelow(const QString& path, const QString& folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.size() > prefix.size() && path.startsWith(prefix, pathCase);
}

bool matchesAny(const QStringList& forms, const QStringList& folders)
{
    for (const QString& folder : folders) {
        for (const QString& form : spellings(folder)) {
            if (forms.contains(form, pathCase))
                return true;
        }
    }
    return false;
}

bool isBelowAny(const QStringList& forms, const QStringList& folders)
{
    for (const QString& folder : folders) {
        for (const QString& folderForm : spellings(folder)) {
            for (const QString& form : forms) {
                if (isBelow(form, folderForm))
                    return true;
            }
        }
    }
    return false;
}

QStringList personalFolders()
{
    const QStandardPaths::StandardLocation locations[] = {
        QStandardPaths::DesktopLocation,
        QStandardPaths::DocumentsLocation,
        QStandardPaths::DownloadLocation,
        QStandardPaths::MusicLocation,
        QStandardPaths::MoviesLocation,
        QStandardPaths::PicturesLocation,
        QStandardPaths::ApplicationsLocation,
        QStandardPaths::GenericDataLocation,
        QStandardPaths::GenericConfigLocation,
        QStandardPaths::GenericCacheLocation,
        QStandardPaths::TempLocation,
    };
    QStringList folders;
    for (QStandardPaths::StandardLocation location : locations) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty())
            folders.append(folder);
    }
    return folders;
}

#ifdef Q_OS_WIN

QStringList environmentFolders(const char* const* names)
{
    QStringList folders;
    for (; *names; ++names) {
        const QString value = qEnvironmentVariable(*names);
        if (!value.isEmpty())
            folders.append(value);
    }
    return folders;
}

QStringList systemFolders()
{
    static const char* const names[]
        = { "SystemRoot", "windir", "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432",
              "CommonProgramFiles", "CommonProgramFiles(x86)", "CommonProgramW6432", "ProgramData",
              "ALLUSERSPROFILE", "PUBLIC", "APPDATA", "LOCALAPPDATA", nullptr };
    return environmentFolders(names);
}

// Nothing of an application's own lives inside the Windows directory.
QStringList foldersNeverEntered()
{
    static const char* const names[] = { "SystemRoot", "windir", nullptr };
    return environmentFolders(names);
}

QStringList homeParents()
{
    return { QFileInfo(QDir::homePath()).absolutePath() };
}

// \\server and \\server\share name no directory of an installation.
bool isNetworkRoot(const QString& form)
{
    if (!form.startsWith(QLatin1String("//")))
        return false;
    return form.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts).size() <= 2;
}

#else

QStringList systemFolders()
{
    return {
        QStringLiteral("/bin"),
        QStringLiteral("/boot"),
        QStringLiteral("/dev"),
        QStringLiteral("/etc"),
        QStringLiteral("/home"),
        QStringLiteral("/lib"),
        QStringLiteral("/lib32"),
        QStringLiteral("/lib64"),
        QStringLiteral("/libx32"),
        QStringLiteral("/media"),
        QStringLiteral("/mnt"),
        QStringLiteral("/opt"),
        QStringLiteral("/proc"),
        QStringLiteral("/root"),
        QStringLiteral("/run"),
        QStringLiteral("/sbin"),
        QStringLiteral("/snap"),
        QStringLiteral("/srv"),
        QStringLiteral("/sys"),
        QStringLiteral("/tmp"),
        QStringLiteral("/usr"),
        QStringLiteral("/usr/bin"),
        QStringLiteral("/usr/games"),
        QStringLiteral("/usr/include"),
        QStringLiteral("/usr/lib"),
        QStringLiteral("/usr/lib32"),
        QStringLiteral("/usr/lib64"),
        QStringLiteral("/usr/libexec"),
        QStringLiteral("/usr/libx32"),
        QStringLiteral("/usr/local"),
        QStringLiteral("/usr/local/bin"),
        QStringLiteral("/usr/local/etc"),
        QStringLiteral("/usr/local/include"),
        QStringLiteral("/usr/local/lib"),
        QStringLiteral("/usr/local/libexec"),
        QStringLiteral("/usr/local/opt"),
        QStringLiteral("/usr/local/sbin"),
        QStringLiteral("/usr/local/share"),
        QStringLiteral("/usr/local/src"),
        QStringLiteral("/usr/sbin"),
        QStringLiteral("/usr/share"),
        QStringLiteral("/usr/src"),
        QStringLiteral("/var"),
        QStringLiteral("/var/cache"),
        QStringLiteral("/var/lib"),
        QStringLiteral("/var/local"),
        QStringLiteral("/var/log"),
        QStringLiteral("/var/mail"),
        QStringLiteral("/var/opt"),
        QStringLiteral("/var/spool"),
        QStringLiteral("/var/tmp"),
        QStringLiteral("/Applications"),
        QStringLiteral("/Library"),
        QStringLiteral("/System"),
        QStringLiteral("/Users"),
        QStringLiteral("/Volumes"),
        QStringLiteral("/private"),
    };
}

// Kernel and boot file systems, and the system configuration: no installation lives there.
QStringList foldersNeverEntered()
{
    return { QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
        QStringLiteral("/boot"), QStringLiteral("/etc") };
}

QStringList homeParents()
{
    return { QStringLiteral("/home"), QStringLiteral("/Users"), QStringLiteral("/var/home") };
}

bool isNetworkRoot(const QString&)
{
    return false;
}

#endif

bool isChildOfAny(const QStringList& forms, const QStringList& parents)
{
    for (const QString& form : forms) {
        const QString parent = QFileInfo(form).absolutePath();
        if (!samePath(parent, form) && matchesAny({ parent }, parents))
            return true;
    }
    return false;
}

} // namespace

QString deletionRefusal(const QString& rootPath)
{
    if (rootPath.trimmed().isEmpty())
        return QStringLiteral("no directory given");
    const QStringList forms = spellings(rootPath);
    for (const QString& form : forms) {
        if (QDir(form).isRoot() || isNetworkRoot(form))
            return QStringLiteral("the root of a file system");
    }
    const QStringList home = spellings(QDir::homePath());
    for (const QString& form : forms) {
        for (const QString& homeForm : home) {
            if (samePath(form, homeForm) || isBelow(homeForm, form))
                return QStringLiteral("the home directory or a directory that holds it");
        }
    }
    if (isChildOfAny(forms, homeParents()))
        return QStringLiteral("a home directory");
    if (matchesAny(forms, personalFolders()))
        return QStringLiteral("one of the user's standard folders");
    if (matchesAny(forms, systemFolders()) || isBelowAny(forms, foldersNeverEntered()))
        return QStringLiteral("a system directory");
    return {};
}
