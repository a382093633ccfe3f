// The deletion decision on path strings of any spelling: it never accepts a protected place,
// anything inside the system's trees, or a folder that holds home or one of its folders, and
// no respelling of a refused path gets it accepted.
//
// Input: a first byte that picks the system and the case, a second that picks a place, then
// the bytes that spell it (or, in the last case, the path itself).

#include "fuzzcheck.h"

#include "removal/protectedplaces.h"

#include <QDir>
#include <QHash>

namespace {

struct System {
    bool windows = false;
    ProtectedPlaces places;
    QStringList protectedPlaces; // every place refused itself
    QStringList trees; // refused with all they hold
    QStringList personal; // refused with every folder above them
};

System posix()
{
    const QString home = QStringLiteral("/home/ana");
    const QStringList personal { home + QStringLiteral("/Desktop"),
        home + QStringLiteral("/Documents"), home + QStringLiteral("/.local/share"),
        home + QStringLiteral("/.config"), home + QStringLiteral("/.cache"),
        home + QStringLiteral("/.local/state"), home + QStringLiteral("/.local/bin") };
    const QStringList others { QStringLiteral("/home/bo"), QStringLiteral("/srv/users/cy") };
    const QStringList mounts { QStringLiteral("/mnt/usb"), QStringLiteral("/media/ana/disk"),
        QStringLiteral("/data") };
    System system;
    system.places = ProtectedPlaces::posix(home, personal, others, mounts);
    // What the README promises.
    system.trees = QStringList { "/bin", "/boot", "/dev", "/etc", "/lib", "/proc", "/root", "/run",
        "/sbin", "/srv", "/sys", "/usr", "/var" };
    system.personal = QStringList(home) + personal;
    system.protectedPlaces = system.trees + system.personal + others + mounts
        + QStringList { "/", "/opt", "/tmp", "/home", "/media", "/mnt", "/home/dan" };
    return system;
}

System windows()
{
    const QHash<QString, QString> environment {
        { "SystemRoot", "C:\\Windows" },
        { "windir", "C:\\WINDOWS" },
        { "ProgramFiles", "C:\\Program Files" },
        { "ProgramFiles(x86)", "C:\\Program Files (x86)" },
        { "ProgramW6432", "C:\\Program Files" },
        { "CommonProgramFiles", "C:\\Program Files\\Common Files" },
        { "ProgramData", "C:\\ProgramData" },
        { "ALLUSERSPROFILE", "C:\\ProgramData" },
        { "PUBLIC", "C:\\Users\\Public" },
        { "USERPROFILE", "C:\\Users\\Ana" },
        { "APPDATA", "C:\\Users\\Ana\\AppData\\Roaming" },
        { "LOCALAPPDATA", "C:\\Users\\Ana\\AppData\\Local" },
        { "TEMP", "C:\\Users\\Ana\\AppData\\Local\\Temp" },
        { "HOMEDRIVE", "C:" },
        { "HOMEPATH", "\\Users\\Ana" },
        { "OneDrive", "D:\\OneDrive - Ana" },
    };
    const QStringList known { "C:\\Users\\Ana\\Desktop", "C:\\Users\\Ana\\Documents",
        "E:\\Downloads" };
    System system;
    system.windows = true;
    system.places = ProtectedPlaces::windows(environment, known);
    system.trees = QStringList { "C:/Windows" };
    system.personal = QStringList { "C:/Users/Ana", "C:/Users/Ana/AppData/Roaming",
        "C:/Users/Ana/AppData/Local", "C:/Users/Ana/AppData/Local/Temp", "D:/OneDrive - Ana" }
        + QStringList { "C:/Users/Ana/Desktop", "C:/Users/Ana/Documents", "E:/Downloads" };
    system.protectedPlaces = system.trees + system.personal
        + QStringList { "C:/", "D:/", "//server/share", "C:/Program Files",
              "C:/Program Files (x86)", "C:/Program Files/Common Files", "C:/ProgramData",
              "C:/Users/Public", "C:/Users", "C:/Users/Bo" };
    return system;
}

// Spells `path` (clean, with forward slashes) differently but with the same meaning, as the
// input's bytes choose: extra separators, "." and "name/.." steps, and on Windows backslashes,
// other letter case and the trailing dots and spaces Windows drops.
class Respelling {
public:
    Respelling(const QByteArray& choices, bool windows)
        : m_choices(choices)
        , m_windows(windows)
    {
    }

    QString of(const QString& path)
    {
        const bool unc = m_windows && path.startsWith(QLatin1String("//"));
        QString spelled;
        QString rest;
        if (unc) {
            spelled = separator() + separator();
            rest = path.mid(2);
        } else if (m_windows) {
            spelled = path.left(2) + separator(); // the drive
            rest = path.mid(3);
        } else {
            spelled = separator();
            rest = path.mid(1);
        }
        const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        for (int i = 0; i < parts.size(); ++i) {
            // A share's server and name cannot be stepped out of.
            const bool share = unc && i < 2;
            if (!share) {
                switch (next() % 4) {
                case 1:
                    spelled += QLatin1Char('.') + separator();
                    break;
                case 2:
                    spelled += QStringLiteral("x") + QString::number(next()) + separator()
                        + QStringLiteral("..") + separator();
                    break;
                case 3:
                    spelled += separator();
                    break;
                default:
                    break;
                }
            }
            spelled += name(parts[i], share);
            if (i + 1 < parts.size() || next() % 2)
                spelled += separator();
        }
        return spelled;
    }

private:
    uchar next() { return m_at < m_choices.size() ? uchar(m_choices[m_at++]) : 0; }

    QString separator()
    {
        return m_windows && next() % 2 ? QStringLiteral("\\") : QStringLiteral("/");
    }

    QString name(QString part, bool share)
    {
        if (!m_windows)
            return part;
        const uchar choice = next();
        if (choice & 1)
            part = part.toUpper();
        if (choice & 2)
            part = part.toLower();
        if ((choice & 4) && !share)
            part += QStringLiteral(". ");
        return part;
    }

    QByteArray m_choices;
    int m_at = 0;
    bool m_windows;
};

QString componentsOf(const QByteArray& bytes)
{
    QString child;
    for (const char byte : bytes) {
        const QChar c = QLatin1Char(byte);
        if (c.isLetterOrNumber())
            child += c;
        else if (!child.endsWith(QLatin1Char('/')))
            child += QLatin1Char('/');
    }
    return child.isEmpty() ? QStringLiteral("x") : child;
}

void expectRefused(const System& system, const QString& path, const char* why)
{
    const ProtectedPlaces::Verdict verdict = system.places.judge(path);
    FUZZ_CHECK(verdict.reason != ProtectedPlaces::None,
        QLatin1String(why) + QStringLiteral(": accepted ") + path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const System systems[] = { posix(), windows() };
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    const uchar mode = bytes.isEmpty() ? 0 : uchar(bytes[0]);
    const uchar pick = bytes.size() < 2 ? 0 : uchar(bytes[1]);
    const QByteArray rest = bytes.mid(2);
    const System& system = systems[mode & 1];
    Respelling respelling(rest, system.windows);

    switch ((mode >> 1) % 4) {
    case 0: {
        const QString& place = system.protectedPlaces[pick % system.protectedPlaces.size()];
        expectRefused(system, respelling.of(place), "a protected place");
        break;
    }
    case 1: {
        const QString& tree = system.trees[pick % system.trees.size()];
        const int split = rest.indexOf('\0');
        const QString inside = tree + QLatin1Char('/') + componentsOf(rest.left(qMax(split, 0)));
        expectRefused(system, Respelling(rest.mid(split + 1), system.windows).of(inside),
            "inside a system tree");
        break;
    }
    case 2: {
        const QString& personal = system.personal[pick % system.personal.size()];
        const int levels = 1 + (rest.isEmpty() ? 0 : uchar(rest[0]) % 4);
        QString above = personal.section(QLatin1Char('/'), 0, -1 - levels);
        if (above.isEmpty() || above.endsWith(QLatin1Char(':')))
            above += QLatin1Char('/');
        expectRefused(system, respelling.of(above), "holds a personal folder");
        break;
    }
    default: {
        // A path of any bytes: once refused, refused however it is spelled again.
        const QString path = QString::fromUtf8(rest);
        if (system.places.judge(path).reason == ProtectedPlaces::None)
            break;
        const QString clean = system.windows ? path : QDir::cleanPath(path);
        if (!clean.startsWith(QLatin1Char('/'))
            && !(system.windows && clean.size() > 2 && clean[1] == QLatin1Char(':')
                && clean[2] == QLatin1Char('/')))
            break; // relative, or the current folder of a drive: no spelling of its own
        if (system.windows
            && (clean.contains(QLatin1Char('\\')) || clean.contains(QLatin1String("//"))
                || clean.contains(QLatin1String("/.")) || clean.contains(QLatin1String("./"))
                || clean.contains(QLatin1Char(' ')) || clean.endsWith(QLatin1Char('.'))))
            break; // only clean paths are respelled
        expectRefused(system, Respelling(bytes, system.windows).of(clean), "respelled");
        break;
    }
    }
    return 0;
}
