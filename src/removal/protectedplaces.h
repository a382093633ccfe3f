#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The places whose contents an uninstaller must never delete, and the rule that judges a folder
// against them. The rules are pure string logic over the environment they are built from, so
// those of either family of systems can be checked anywhere.
class ProtectedPlaces {
public:
    enum Reason {
        None,
        FileSystemRoot, // a drive, share or mount root
        SystemFolder, // the operating system's own trees and the shared program folders
        PersonalFolder, // home, its standard folders, and every folder holding one of them
        OtherUsersHome,
    };

    struct Verdict {
        Reason reason = None;
        QString place; // the protected place the folder matched
    };

    // The places of the running system and user.
    static ProtectedPlaces current();

    // A POSIX system: `personal` holds the user's standard folders, `otherHomes` the home
    // folders of the other accounts, `mountRoots` where file systems are mounted.
    static ProtectedPlaces posix(const QString& home, const QStringList& personal,
        const QStringList& otherHomes, const QStringList& mountRoots);
    // A Windows system, from its environment variables (names compared case-insensitively)
    // and the user's known folders (desktop, documents, downloads ...).
    static ProtectedPlaces windows(
        const QHash<QString, QString>& environment, const QStringList& knownFolders);

    // `path` is absolute. Refused when it is a protected place, holds one, or lies inside a
    // protected tree.
    Verdict judge(const QString& path) const;

private:
    QString normalized(const QString& path) const;
    bool same(const QString& a, const QString& b) const;
    // Whether `inner` lies strictly inside `outer`.
    bool inside(const QString& inner, const QString& outer) const;
    bool isFileSystemRoot(const QString& path) const;
    void addPlaces(QStringList* list, const QStringList& places);

    bool m_windows = false;
    QStringList m_trees; // refused with everything inside them
    QStringList m_personal; // refused themselves and with every folder that holds them
    QStringList m_system; // the same, for folders of the system
    QStringList m_homeParents; // each folder directly inside one is some user's home
    QStringList m_otherHomes;
    QStringList m_mountRoots;
};
