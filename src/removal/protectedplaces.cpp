#include "removal/protectedplaces.h"

#include "places.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// Trees of the operating system: nothing inside them belongs to one application alone.
const char* const kPosixTrees[] = { "/bin", "/boot", "/dev", "/etc", "/lib", "/lib32", "/lib64",
    "/libx32", "/proc", "/root", "/run", "/sbin", "/snap", "/srv", "/sys", "/usr", "/var",
    "/System", "/Library", "/private" };
// Folders that hold applications or users, refused themselves but not what lies inside.
const char* const kPosixFolders[]
    = { "/opt", "/tmp", "/home", "/media", "/mnt", "/Applications", "/Users", "/Volumes" };
const char* const kPosixHomeParents[] = { "/home", "/Users", "/var/home" };

const char* const kWindowsTrees[] = { "SystemRoot", "windir" };
const char* const kWindowsFolders[] = { "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432",
    "CommonProgramFiles", "CommonProgramFiles(x86)", "CommonProgramW6432", "ProgramData",
    "ALLUSERSPROFILE", "PUBLIC" };
const char* const kWindowsPersonal[]
    = { "USERPROFILE", "APPDATA", "LOCALAPPDATA", "TEMP", "TMP", "OneDrive" };

template <size_t N> QStringList fromLatin1(const char* const (&names)[N])
{
    QStringList list;
    for (const char* name : names)
        list.append(QString::fromLatin1(name));
    return list;
}

QString environmentValue(const QHash<QString, QString>& environment, const QString& name)
{
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

QStringList environmentValues(const QHash<QString, QString>& environment, const QStringList& names)
{
    QStringList values;
    for (const QString& name : names)
        values.append(environmentValue(environment, name));
    return values;
}

// Windows drops trailing dots and spaces of a name: "C:\Windows. " is C:\Windows.
QString trimWindowsName(QString name)
{
    while (!name.isEmpty() && (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        && name != QLatin1String(".") && name != QLatin1String(".."))
        name.chop(1);
    return name;
}

// Resolves "." and ".." and doubled separators; keeps a UNC path's leading "//".
QString cleanWindowsPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1String("//?/UNC/"), Qt::CaseInsensitive))
        path = QLatin1Char('/') + path.mid(7);
    else if (path.startsWith(QLatin1String("//?/")) || path.startsWith(QLatin1String("//./")))
        path = path.mid(4);
    const bool unc = path.startsWith(QLatin1String("//"));
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:(/|$)"));
    if (!unc && !drive.match(path).hasMatch())
        return {}; // relative, or on the current drive: no place of its own
    QStringList parts;
    for (const QString& raw : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString part = trimWindowsName(raw);
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        // A drive or the server and share name cannot be left upwards.
        const int fixed = unc ? 2 : 1;
        if (part == QLatin1String("..")) {
            if (parts.size() > fixed)
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QString clean = (unc ? QStringLiteral("//") : QString()) + parts.join(QLatin1Char('/'));
    if (!unc && parts.size() == 1 && clean.endsWith(QLatin1Char(':')))
        clean += QLatin1Char('/');
    return clean;
}

QStringList canonicalForms(const QStringList& places)
{
    QStringList forms = places;
    for (const QString& place : places) {
        const QString canonical = QFileInfo(place).canonicalFilePath();
        if (!canonical.isEmpty() && !forms.contains(canonical))
            forms.append(canonical);
    }
    return forms;
}

QStringList personalFolders()
{
    const QStandardPaths::StandardLocation locations[] = {
        QStandardPaths::DesktopLocation,
        QStandardPaths::DocumentsLocation,
        QStandardPaths::DownloadLocation,
        QStandardPaths::MusicLocation,
        QStandardPaths::PicturesLocation,
        QStandardPaths::MoviesLocation,
        QStandardPaths::GenericDataLocation,
        QStandardPaths::GenericConfigLocation,
        QStandardPaths::GenericCacheLocation,
        QStandardPaths::ApplicationsLocation,
        QStandardPaths::TempLocation,
    };
    QStringList folders;
    for (QStandardPaths::StandardLocation location : locations)
        folders.append(QStandardPaths::writableLocation(location));
#ifndef Q_OS_WIN
    const QString home = QDir::homePath();
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    folders.append(
        state.startsWith(QLatin1Char('/')) ? state : home + QStringLiteral("/.local/state"));
    folders.append(home + QStringLiteral("/.local/bin"));
#endif
    return folders;
}

} // namespace

ProtectedPlaces ProtectedPlaces::current()
{
#ifdef Q_OS_WIN
    QHash<QString, QString> environment;
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    for (const QString& name : system.keys())
        environment.insert(name, system.value(name));
    ProtectedPlaces places = windows(environment, personalFolders());
#else
    QStringList otherHomes;
    for (const std::string& home : Platform::accountHomes())
        otherHomes.append(QFile::decodeName(QByteArray::fromStdString(home)));
    QStringList mountRoots;
    for (const std::string& root : Platform::mountRoots())
        mountRoots.append(QFile::decodeName(QByteArray::fromStdString(root)));
    ProtectedPlaces places = posix(QDir::homePath(), personalFolders(), otherHomes, mountRoots);
#endif
    // A place reached through a link is protected under both its names.
    for (QStringList* list : { &places.m_trees, &places.m_system, &places.m_personal,
             &places.m_otherHomes, &places.m_mountRoots })
        *list = canonicalForms(*list);
    return places;
}

ProtectedPlaces ProtectedPlaces::posix(const QString& home, const QStringList& personal,
    const QStringList& otherHomes, const QStringList& mountRoots)
{
    ProtectedPlaces places;
    places.addPlaces(&places.m_trees, fromLatin1(kPosixTrees));
    places.addPlaces(&places.m_system, fromLatin1(kPosixFolders));
    places.addPlaces(&places.m_homeParents, fromLatin1(kPosixHomeParents));
    places.addPlaces(&places.m_personal, QStringList(home) + personal);
    places.addPlaces(&places.m_otherHomes, otherHomes);
    places.addPlaces(&places.m_mountRoots, mountRoots);
    return places;
}

ProtectedPlaces ProtectedPlaces::windows(
    const QHash<QString, QString>& environment, const QStringList& knownFolders)
{
    ProtectedPlaces places;
    places.m_windows = true;
    places.addPlaces(&places.m_trees, environmentValues(environment, fromLatin1(kWindowsTrees)));
    places.addPlaces(&places.m_system, environmentValues(environment, fromLatin1(kWindowsFolders)));
    const QString profile = environmentValue(environment, QStringLiteral("USERPROFILE"));
    const QString homePath = environmentValue(environment, QStringLiteral("HOMEDRIVE"))
        + environmentValue(environment, QStringLiteral("HOMEPATH"));
    places.addPlaces(&places.m_personal,
        environmentValues(environment, fromLatin1(kWindowsPersonal)) + knownFolders
            + QStringList(homePath));
    // Every profile lies in the same folder as the user's own (C:\Users).
    const QString profiles = places.normalized(profile).section(QLatin1Char('/'), 0, -2);
    if (!profile.isEmpty() && !places.isFileSystemRoot(profiles))
        places.addPlaces(&places.m_homeParents, { profiles });
    return places;
}

ProtectedPlaces::Verdict ProtectedPlaces::judge(const QString& path) const
{
    const QString folder = normalized(path);
    if (folder.isEmpty() || isFileSystemRoot(folder))
        return { FileSystemRoot, folder };
    for (const QString& root : m_mountRoots) {
        if (same(folder, root))
            return { FileSystemRoot, root };
    }
    for (const QString& tree : m_trees) {
        if (same(folder, tree) || inside(folder, tree) || inside(tree, folder))
            return { SystemFolder, tree };
    }
    for (const QString& place : m_system + m_homeParents) {
        if (same(folder, place) || inside(place, folder))
            return { SystemFolder, place };
    }
    for (const QString& place : m_personal) {
        if (same(folder, place) || inside(place, folder))
            return { PersonalFolder, place };
    }
    for (const QString& place : m_otherHomes) {
        if (same(folder, place) || inside(place, folder))
            return { OtherUsersHome, place };
    }
    const QString parent = folder.section(QLatin1Char('/'), 0, -2);
    for (const QString& homes : m_homeParents) {
        if (same(parent, homes))
            return { OtherUsersHome, folder };
    }
    return {};
}

QString ProtectedPlaces::normalized(const QString& path) const
{
    if (m_windows)
        return cleanWindowsPath(path);
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

bool ProtectedPlaces::same(const QString& a, const QString& b) const
{
    return a.compare(b, m_windows ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

bool ProtectedPlaces::inside(const QString& inner, const QString& outer) const
{
    const QString prefix = outer.endsWith(QLatin1Char('/')) ? outer : outer + QLatin1Char('/');
    return inner.size() > prefix.size()
        && inner.startsWith(prefix, m_windows ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool ProtectedPlaces::isFileSystemRoot(const QString& path) const
{
    if (!m_windows)
        return path == QLatin1String("/");
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:/?$"));
    if (drive.match(path).hasMatch())
        return true;
    // \\server and \\server\share
    return path.startsWith(QLatin1String("//"))
        && path.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts).size() <= 2;
}

void ProtectedPlaces::addPlaces(QStringList* list, const QStringList& places)
{
    for (const QString& place : places) {
        const QString clean = normalized(place);
        // An unset variable or a relative value names no place; a root is refused anyway.
        if (!clean.isEmpty() && !isFileSystemRoot(clean) && !list->contains(clean))
            list->append(clean);
    }
}
