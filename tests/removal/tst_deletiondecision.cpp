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
    const QHash<QString, QString> environment {
        { "SystemRoot", "C:\\Windows" },
        { "windir", "C:\\WINDOWS" },
        { "ProgramFiles", "C:\\Program Files" },
        { "ProgramFiles(x86)", "C:\\Program Files (x86)" },
        { "ProgramW6432", "C:\\Program Files" },
        { "ProgramData", "C:\\ProgramData" },
        { "USERPROFILE", "C:\\Users\\alice" },
        { "APPDATA", "C:\\Users\\alice\\AppData\\Roaming" },
        { "LOCALAPPDATA", "C:\\Users\\alice\\AppData\\Local" },
        { "TEMP", "C:\\Users\\alice\\AppData\\Local\\Temp" },
        { "PUBLIC", "C:\\Users\\Public" },
    };
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
        const auto posix = [](const char* name, const QString& path, D::Verdict verdict) {
            QTest::newRow(name) << false << path << int(verdict);
        };
        posix("/", "/", D::FileSystemRoot);
        posix("root through dot-dot", "/usr/..", D::FileSystemRoot);
        posix("a mount root", "/mnt/usb", D::FileSystemRoot);
        posix("/usr", "/usr", D::SystemFolder);
        for (const char* path : { "/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu",
                 "/usr/share/doc", "/var/lib/dpkg", "/usr/libexec/foo", "/var/www",
                 "/usr/local/tern", "/etc/ssl", "/proc/self", "/srv/app" })
            posix(path, path, D::SystemFolder);
        posix("/opt itself", "/opt", D::SystemFolder);
        posix("/home", "/home", D::SystemFolder);
        posix("home", "/home/u", D::PersonalFolder);
        posix("a folder holding the data home", "/home/u/.local", D::PersonalFolder);
        posix("the desktop", "/home/u/Desktop/", D::PersonalFolder);
        posix("the parent of a standard folder outside home", "/data/u", D::PersonalFolder);
        posix("another user's home", "/home/other", D::OtherUsersHome);
        posix("a home of an unknown account", "/home/stranger", D::OtherUsersHome);
        posix("/usr through a link", scratch.filePath("usr-link"), D::SystemFolder);
        posix("an allowed place that does not exist", "/opt/Tern Converter", D::Missing);
        posix("a folder without the marks", scratch.path(), D::NotThisProduct);
        posix(
            "another product's description", scratch.filePath("other-product"), D::NotThisProduct);
        posix("no host executable", scratch.filePath("no-host"), D::NotThisProduct);
        posix("a description that is a link", scratch.filePath("described-by-link"),
            D::NotThisProduct);
        posix("the installation", scratch.filePath("good"), D::Accepted);
        posix("the installation through a link", scratch.filePath("good-link"), D::Accepted);

        const auto windows = [](const char* name, const QString& path, D::Verdict verdict) {
            QTest::newRow(qPrintable(QStringLiteral("windows: ") + name))
                << true << path << int(verdict);
        };
        windows("a drive", "C:\\", D::FileSystemRoot);
        windows("a drive without separator", "d:", D::FileSystemRoot);
        windows("a share", "\\\\server\\share", D::FileSystemRoot);
        windows("a long-path drive", "\\\\?\\C:\\", D::FileSystemRoot);
        windows("inside the Windows folder", "c:\\windows\\system32", D::SystemFolder);
        windows("Windows with a trailing dot", "C:\\Windows.\\Temp", D::SystemFolder);
        windows("Program Files", "C:\\PROGRAM FILES", D::SystemFolder);
        windows("Program Files (x86)", "C:/Program Files (x86)/", D::SystemFolder);
        windows("ProgramData", "C:\\ProgramData", D::SystemFolder);
        windows("the profiles", "C:\\Users", D::SystemFolder);
        windows("the profile", "C:\\Users\\Alice", D::PersonalFolder);
        windows("a folder holding AppData", "C:\\Users\\alice\\AppData", D::PersonalFolder);
        windows("a folder holding a known folder", "D:\\Docs", D::PersonalFolder);
        windows("another user's profile", "C:\\Users\\bob", D::OtherUsersHome);
        // Allowed places: only the folder's absence speaks on this system.
        windows("in Program Files", "C:\\Program Files\\Tern Converter", D::Missing);
        windows("per user", "C:\\Users\\alice\\AppData\\Local\\Programs\\Tern", D::Missing);
        windows("on a share", "\\\\server\\share\\apps\\tern", D::Missing);
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
