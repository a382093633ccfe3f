// Whole runs of the product's uninstaller as the host runs it, each in an installation of its
// own: what the host hears, what stays on disk, what reaches the feedback service, what the
// host's framework is told after the removal, and one wizard per product.

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"
#include "wizardprocess.h"

#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

enum Place { OwnFolder, Tangled, HomeFolder, ReadOnly };
enum Alongside {
    Nothing,
    Application, // the product's application, and another account's copy of it
    SameWizard,
    SameWizardOtherSession, // an ssh, cron or sudo session sees other runtime and temp folders
    SameWizardLockLost, // its lock file deleted under it: the live segment still guards
    KilledThenSameWizard, // a wizard killed, then one that took its guard over
    EndedWizard,
    OtherProductWizard,
};

const QString kRefused = QStringLiteral("uninstall is runnabled!");
// What the offscreen platform says when asked to open the page that follows a removal.
const QByteArray kAfterUninstallPage
    = "openUrl() for 'https://www.example.com/uninstalled?pid=1024'";

const QString kCloses = QStringLiteral("wait btnClose visible\nclick btnClose");

struct Row {
    const char* name;
    Place place;
    Alongside alongside;
    const char* outcome; // what the result file says
    int reports;
    QString script {}; // empty: no window may show
    QStringList options {}; // after the start switch
    bool testMode = false;
};

// Starts a test-mode wizard and waits for its window: by then it holds the product's guard.
bool startWizard(QProcess& process, const QString& installation)
{
    WizardProcess::start(process, installation,
        WizardProcess::writeScript("waits", { "wait nothing visible 60000" }));
    QByteArray errors;
    return QTest::qWaitFor(
        [&] { return (errors += process.readAllStandardError()).contains("window shown"); }, 5000);
}

// The walk to the uninstalling page with one cause ticked, then `rest`.
QString walk(const char* cause, const char* rest)
{
    return QStringLiteral("page processPage 1\nclick btnContinue_1\npage causePage_2 0\nclick %1\n"
                          "click btnContinue_2\npage causePage_2 1\nclick btnContinue_3\n%2")
        .arg(QLatin1String(cause), QLatin1String(rest));
}

// Read-only for everyone, root included (who needs the immutable flag).
bool makeUnremovable(const QString& dir, bool on)
{
    if (::getuid() == 0)
        return QProcess::execute("chattr", { "-R", on ? "+i" : "-i", dir }) == 0;
    return QProcess::execute("chmod", { "-R", on ? "a-w" : "u+w", dir }) == 0;
}

// What keeps "locked/f.txt" in place: the file itself for root, else its folder.
QString lockedPart(const QString& dir)
{
    return dir + (::getuid() == 0 ? "/locked/f.txt" : "/locked");
}

// Runs a copy of /bin/sleep named `path`, as `nobody` when asked and this run is root's.
std::unique_ptr<QProcess> startCopy(const QString& path, bool asNobody = false)
{
    if (asNobody && ::getuid() != 0)
        return nullptr;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::copy(QStringLiteral("/bin/sleep"), path);
    auto process = std::make_unique<QProcess>();
    if (asNobody) {
        // The account must pass through every folder above the program.
        for (QString dir = QFileInfo(path).absolutePath(); dir != "/";
             dir = QFileInfo(dir).absolutePath())
            QFile::setPermissions(dir, QFile::permissions(dir) | QFile::ExeOther);
        process->start(
            "setpriv", { "--reuid=65534", "--regid=65534", "--clear-groups", path, "60" });
    } else {
        process->start(path, { "60" });
    }
    return process->waitForStarted() ? std::move(process) : nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Row)

class TestUninstallRun : public QObject {
    Q_OBJECT

    LoopbackServer m_service;
    int m_installations = 0;
    QString m_productName;

    // A fresh installation under a product name of its own, so that ending "the application"
    // or guarding one wizard per product never reaches another row.
    QString makeInstallation(Place place, bool testMode, const QString& prefix)
    {
        const QString name = QStringLiteral("run%1").arg(++m_installations);
        m_productName
            = prefix + QStringLiteral(" %1 %2").arg(QCoreApplication::applicationPid()).arg(name);
        const QString dir
            = WizardProcess::makeInstallation(place == HomeFolder ? QDir::homePath() : name,
                { { "uninstallTest", testMode ? "1" : "0" },
                    { "uninstallReportUrl", m_service.address("/report") },
                    // Content would come from the service: a silent run must not ask for it.
                    { "uninstallConfigURL", m_service.address("/config.json") } },
                m_productName);
        for (const char* path : { "unins000.exe", "unins000.dat", "plugins/codecs/a.bin",
                 "docs/guide.txt", ".settings/hidden.ini" })
            TestEnv::writeFile(dir + '/' + path, "data");
        if (place == HomeFolder) {
            for (const char* path : { "share/OtherApp/data.txt", "bin/othertool" })
                TestEnv::writeFile(dir + '/' + path, "theirs");
        }
        return dir;
    }

    QString dataFolder() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/TernSoft/"
            + m_productName;
    }

    QVariant hostSetting(const char* key, const QVariant& otherwise = {}) const
    {
        return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + "/TernSoft/" + m_productName + "/settings.ini",
            QSettings::IniFormat)
            .value(QLatin1String(key), otherwise);
    }

    // Links that lead out, a tree deeper than any path, names that are no text, look-alikes of
    // the setup tool's files, hidden entries and a file that cannot go; returns where the links
    // lead.
    QString tangle(const QString& dir)
    {
        const QString decoy = TestEnv::sandboxRoot() + QStringLiteral("/decoy");
        TestEnv::writeFile(decoy + QStringLiteral("/tree/keep.txt"), "keep");
        TestEnv::writeFile(decoy + QStringLiteral("/file.txt"), "keep");
        QFile::link(decoy + QStringLiteral("/tree"), dir + QStringLiteral("/linked-dir"));
        QFile::link(decoy + QStringLiteral("/file.txt"), dir + QStringLiteral("/linked-file"));
        TestEnv::makeDeepTree(dir + QStringLiteral("/docs"), 700);
        for (const char* name : { "/\xff\xfe-latin1-\xe9.bin", "/sub-\xc3\x28" })
            ::close(::open((QFile::encodeName(dir) + name).constData(), O_CREAT | O_WRONLY, 0600));
        for (const char* path : { "myunins000.txt", "unins000/inner.txt", "Unins000.txt",
                 "bin/plugins/Unins000Data/d.txt", ".hidden", ".cache/cache.dat", "data/.settings",
                 "locked/f.txt" })
            TestEnv::writeFile(dir + '/' + path, "x");
        makeUnremovable(lockedPart(dir), true);
        return decoy;
    }

    // What stays of an installation after its removal, and why.
    static QStringList leftovers(Place place)
    {
        QStringList leftovers { "hidden .settings", "setup tool unins000.dat",
            "setup tool unins000.exe" };
        if (place == Tangled)
            leftovers += QStringList { "hidden .cache", "hidden .hidden", "hidden .settings",
                "not empty data", "not empty locked", "permission f.txt",
                "setup tool myunins000.txt", "setup tool unins000" };
        leftovers.sort();
        return leftovers;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_service.listen());
        m_service.setResponse("/report", LoopbackServer::Response::json("{\"code\":0}"));
    }

    void init() { m_service.clearRecords(); }

    void run_data()
    {
        QTest::addColumn<Row>("row");
        // Had the close gone through while files were deleted, the window would have hidden
        // and the script failed. The tree deeper than any path keeps the removal going.
        const QString closeWhileRemoving = walk("price",
            "page processPage 3\nclose UnInstallWindow\nwait frameBar visible\n"
            "wait frameEmail visible 20000\n"
            "text lblRemovalNote Items that stayed behind: 7.\nclick btnComplete");
        // Nothing removed, the host hears 0 and nothing is deregistered; the user is told why
        // and the reports still go out.
        const QString refused = walk("crash",
            "page processPage 3\ntext thinkLab Nothing was removed.\nwait lblRemovalNote "
            "visible\nwait frameEmail visible\nclick btnComplete");
        const Row rows[] = {
            { "removal, the application running", OwnFolder, Application, "removed", 2,
                walk("crash",
                    "wait CheckCloseDlg visible\nclick btnContinue\npage processPage 3\n"
                    "wait frameEmail visible 20000\ntext thinkLab Uninstallation completed!\n"
                    "text lblRemovalNote Items that stayed behind: 1.\n"
                    "type emailEdit someone@example.com\nclick btnComplete") },
            { "window-system close while removing a tangled installation", Tangled, Nothing,
                "removed", 2, closeWhileRemoving },
            { "installed in the home folder", HomeFolder, Nothing, "refused", 2, refused },
            { "a read-only installation", ReadOnly, Nothing, "failed", 2, refused },
            { "closed on the home page", OwnFolder, Nothing, "aborted", 0,
                "page processPage 1\nclick btnCancel_1" },
            { "test mode, walked to the end", OwnFolder, Nothing, "aborted", 1,
                walk("slow",
                    "page processPage 3\nclick btnComplete\nwait frameEmail visible\n"
                    "click btnClose"),
                {}, true },
            // An administrator's unattended removal: no window, no request to any service.
            { "silent", OwnFolder, Nothing, "removed", 0, {}, { "-silent" } },
            { "silent, the application running", OwnFolder, Application, "application-running", 0,
                {}, { "-silent" } },
            { "silent, the application running, to be closed", OwnFolder, Application, "removed", 0,
                {}, { "-silent", "-close-applications" } },
            { "silent, installed in the home folder", HomeFolder, Nothing, "refused", 0, {},
                { "-silent" } },
            { "silent, an unknown option", OwnFolder, Nothing, "aborted", 0, {},
                { "-silent", "-frobnicate" } },
            // One wizard per product: a second start stays out while the first runs.
            { "second start", OwnFolder, SameWizard, "aborted", 0, {}, {}, true },
            { "second start from another session", OwnFolder, SameWizardOtherSession, "aborted", 0,
                {}, {}, true },
            { "second start after the first's lock file was deleted", OwnFolder, SameWizardLockLost,
                "aborted", 0, {}, {}, true },
            { "second start beside a wizard that took a killed one's guard over", OwnFolder,
                KilledThenSameWizard, "aborted", 0, {}, {}, true },
            { "start after the first ended", OwnFolder, EndedWizard, "aborted", 0, kCloses, {},
                true },
            // Longer than any file name: the keys must still fit.
            { "a very long product name beside another product's wizard", OwnFolder,
                OtherProductWizard, "aborted", 0, kCloses, {}, true },
        };
        for (const Row& row : rows)
            QTest::newRow(row.name) << row;
    }

    void run()
    {
        QFETCH(Row, row);
        const Alongside alongside = row.alongside;
        const QString dir = makeInstallation(row.place, row.testMode,
            alongside == OtherProductWizard ? QStringLiteral("Tern Long Name ").repeated(13)
                                            : QStringLiteral("Tern Converter"));
        QString decoy;
        QMap<QString, QByteArray> decoyBefore;
        if (row.place == Tangled)
            decoyBefore = TestFiles::fingerprints(decoy = tangle(dir));

        std::unique_ptr<QProcess> application, othersCopy;
        QProcess first;
        QStringList environment;
        if (alongside == Application) {
            QVERIFY(application = startCopy(dir + '/' + m_productName));
            othersCopy = startCopy(TestEnv::sandboxRoot() + "/others/" + m_productName, true);
        } else if (alongside == EndedWizard) {
            QVERIFY(
                WizardProcess::run(dir, WizardProcess::writeScript("closes", kCloses.split('\n')))
                    .returned(0));
        } else if (alongside == OtherProductWizard) {
            QVERIFY(startWizard(first,
                WizardProcess::makeInstallation(QStringLiteral("other%1").arg(m_installations),
                    { { "uninstallTest", "1" } },
                    QStringLiteral("Tern Editor %1").arg(QCoreApplication::applicationPid()))));
        } else if (alongside != Nothing) {
            if (alongside == KilledThenSameWizard) {
                QVERIFY(startWizard(first, dir));
                first.kill();
                QVERIFY(first.waitForFinished());
            }
            QVERIFY(startWizard(first, dir));
            const QString locks = QDir::homePath() + QStringLiteral("/.local/state/tern-locks/");
            for (const QString& lock : QDir(locks).entryList({ "*.lock" }))
                QVERIFY(alongside != SameWizardLockLost || QFile::remove(locks + lock));
            if (alongside == SameWizardOtherSession) {
                const QString elsewhere = TestEnv::sandboxRoot() + QStringLiteral("/elsewhere");
                QDir().mkpath(elsewhere);
                environment << "XDG_RUNTIME_DIR=" + elsewhere << "TMPDIR=" + elsewhere;
            }
        }
        const bool removed = row.outcome == QLatin1String("removed");
        const auto before = removed ? QMap<QString, QByteArray>() : TestFiles::fingerprints(dir);
        if (row.place == ReadOnly && !makeUnremovable(dir, true))
            QSKIP("this file system cannot make a folder unremovable for this account");

        const QString resultFile
            = TestEnv::sandboxRoot() + QStringLiteral("/result-%1.json").arg(m_installations);
        const WizardProcess::Run result = WizardProcess::run(dir,
            WizardProcess::writeScript(QFileInfo(dir).fileName(),
                row.script.isEmpty() ? QStringList { "# no steps" } : row.script.split('\n')),
            QStringList { "-start_uninstall" } + row.options
                + QStringList { "-result=" + resultFile },
            20000, environment + QStringList { TestEnv::waitScaleSetting(0.02) });
        if (row.place == ReadOnly || row.place == Tangled)
            makeUnremovable(row.place == Tangled ? lockedPart(dir) : dir, false);
        const bool firstStillRuns = first.state() == QProcess::Running;
        WizardProcess::finish(first, 0);

        QVERIFY(result.returned(removed ? 512 : 0));
        QCOMPARE(result.errors.contains("autopilot: window shown"), !row.script.isEmpty());
        QFile resultJson(resultFile);
        QVERIFY(resultJson.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(resultJson.readAll())["outcome"].toString(), row.outcome);
        QSet<QByteArray> reports; // a post given up on a loaded machine goes out again
        for (const LoopbackServer::Request& post : m_service.requests("/report"))
            reports.insert(post.body);
        QCOMPARE(reports.size(), row.reports);

        // After a removal only what the list of leftovers names stays; else all that was
        // there, but for what the framework, the telemetry and the guard write.
        if (removed) {
            QStringList leftovers = TestEnv::leftovers(dataFolder());
            leftovers.sort();
            QCOMPARE(leftovers, this->leftovers(row.place));
            // Nothing stays that the list does not name.
            const QStringList named
                = QStringList(leftovers).replaceInStrings(QRegularExpression("^.* "), QString());
            for (const QString& entry :
                QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                QVERIFY2(named.contains(entry), qPrintable(entry));
        } else {
            const QStringList changed = TestFiles::changed(before, TestFiles::fingerprints(dir));
            QVERIFY2(changed.filter(QRegularExpression("(TernSoft|CEIPG|tern-locks)/")) == changed,
                qPrintable(changed.join(", ")));
        }
        if (!decoy.isEmpty())
            QCOMPARE(TestFiles::fingerprints(decoy), decoyBefore);

        // The host's framework hears of the removal only once it happened, and the page that
        // follows it opens only where there is a window.
        QCOMPARE(hostSetting("install/registered", true).toBool(), !removed);
        QCOMPARE(hostSetting("common/recentRemoved").toString(), removed ? "1024" : "");
        QCOMPARE(hostSetting("common/stateReset").toString(), removed ? "1024" : "");
        QCOMPARE(result.errors.contains(kAfterUninstallPage), removed && !row.script.isEmpty());

        if (application)
            QCOMPARE(application->state() == QProcess::Running, !removed);
        if (othersCopy)
            QCOMPARE(othersCopy->state(), QProcess::Running);
        const bool staysOut = alongside >= SameWizard && alongside <= KilledThenSameWizard;
        const QStringList log = TestEnv::logMessages("debug", dataFolder());
        QCOMPARE(log.count(kRefused), int(staysOut));
        if (staysOut) {
            QVERIFY(firstStillRuns);
            // Refused before it set anything up.
            QCOMPARE(log.count("ceipg init!"), alongside == KilledThenSameWizard ? 2 : 1);
        }
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRun)
#include "tst_uninstallrun.moc"
