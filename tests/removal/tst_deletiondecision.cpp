#include "removal/deletiondecision.h"

#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kProduct = QStringLiteral("Tern Converter");

// A user "u" whose music lives outside the home, two other accounts and two mounts.
ProtectedPlaces posixPlaces()
{
    return ProtectedPlaces::posix(QStringLiteral("/home/u"),
        { "/home/u/Desktop", "/home/u/.local/share", "/home/u/.config", "/home/u/.cache",
            "/home/u/.local/state", "/home/u/.local/bin", "/data/u/Music" },
        { "/home/other", "/var/lib/postgresql", "/nonexistent" }, { "/", "/mnt/usb", "/tmp" });
}

ProtectedPlaces windowsPlaces()
{
    QHash<QString, QString> environment;
    for (const char* pair : { "SystemRoot=C:\\Windows", "windir=C:\\WINDOWS",
             "ProgramFiles=C:\\Program Files", "ProgramFiles(x86)=C:\\Program Files (x86)",
             "ProgramW6432=C:\\Program Files", "ProgramData=C:\\ProgramData",
             "USERPROFILE=C:\\Users\\alice", "APPDATA=C:\\Users\\alice\\AppData\\Roaming",
             "LOCALAPPDATA=C:\\Users\\alice\\AppData\\Local",
             "TEMP=C:\\Users\\alice\\AppData\\Local\\Temp", "PUBLIC=C:\\Users\\Public" })
        environment.insert(QString(pair).section('=', 0, 0), QString(pair).section('=', 1));
    return ProtectedPlaces::windows(environment, { "D:\\Docs\\alice\\Documents" });
}

} // namespace

class DeletionDecisionTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    InstallationMarks marks;

    // A folder with the host executable and a description naming `product`.
    QString installation(const QString& name, const QString& product, bool withHost = true)
    {
        const QString dir = scratch.filePath(name);
        TestEnv::writeFile(
            dir + "/product.json", QStringLiteral("{\"name\":\"%1\"}").arg(product).toUtf8());
        if (withHost)
            TestEnv::writeFile(dir + "/uninstaller", "host");
        return dir;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        QVERIFY(QFile::link("/usr", scratch.filePath("usr-link")));
        marks = { scratch.filePath("good/uninstaller"), kProduct };
        installation("good", kProduct);
        installation("other-product", "Someone Else");
        installation("no-host", kProduct, false);
        QDir().mkpath(scratch.filePath("described-by-link"));
        QVERIFY(QFile::link(scratch.filePath("good/product.json"),
            scratch.filePath("described-by-link/product.json")));
        QVERIFY(QFile::link(scratch.filePath("good"), scratch.filePath("good-link")));
    }

    void roots_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("verdict");
        using D = DeletionDecision;
        using Groups = QList<QPair<D::Verdict, QStringList>>;
        // "@" stands for the scratch folder, which holds the installations of initTestCase.
        const auto add = [&](bool windows, const Groups& groups) {
            for (const auto& group : groups) {
                for (const QString& path : group.second)
                    QTest::newRow(qPrintable((windows ? "windows " : "posix ") + path))
                        << windows << QString(path).replace('@', scratch.path())
                        << int(group.first);
            }
        };
        add(false,
            Groups { { D::FileSystemRoot, { "/", "/usr/..", "/mnt/usb" } },
                { D::SystemFolder,
                    { "/usr", "/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu",
                        "/usr/share/doc", "/var/lib/dpkg", "/usr/libexec/foo", "/var/www",
                        "/usr/local/tern", "/etc/ssl", "/proc/self", "/srv/app", "/opt", "/home",
                        "@/usr-link" } },
                // Home, a folder holding the data home, the desktop, the parent of a standard
                // folder outside home.
                { D::PersonalFolder,
                    { "/home/u", "/home/u/.local", "/home/u/Desktop/", "/data/u" } },
                // Another user's home, a home of an unknown account.
                { D::OtherUsersHome, { "/home/other", "/home/stranger" } },
                { D::Missing, { "/opt/Tern Converter" } },
                // Without the marks, another product's description, no host executable, a
                // description that is a link.
                { D::NotThisProduct,
                    { "@", "@/other-product", "@/no-host", "@/described-by-link" } },
                { D::Accepted, { "@/good", "@/good-link" } } });
        add(true,
            Groups { { D::FileSystemRoot, { "C:\\", "d:", "\\\\server\\share", "\\\\?\\C:\\" } },
                { D::SystemFolder,
                    { "c:\\windows\\system32", "C:\\Windows.\\Temp", "C:\\PROGRAM FILES",
                        "C:/Program Files (x86)/", "C:\\ProgramData", "C:\\Users" } },
                // The profile, folders holding AppData and a known folder.
                { D::PersonalFolder,
                    { "C:\\Users\\Alice", "C:\\Users\\alice\\AppData", "D:\\Docs" } },
                { D::OtherUsersHome, { "C:\\Users\\bob" } },
                // Allowed places: only the folder's absence speaks on this system.
                { D::Missing,
                    { "C:\\Program Files\\Tern Converter",
                        "C:\\Users\\alice\\AppData\\Local\\Programs\\Tern",
                        "\\\\server\\share\\apps\\tern" } } });
    }

    void roots()
    {
        QFETCH(bool, windows);
        QFETCH(QString, path);
        const DeletionDecision decision
            = DeletionDecision::decide(path, windows ? windowsPlaces() : posixPlaces(), marks);
        QTEST(int(decision.verdict), "verdict");
        QCOMPARE(decision.accepted(), decision.detail.isEmpty());
    }
};

UNINSTALL_TEST_MAIN(DeletionDecisionTest)
#include "tst_deletiondecision.moc"
