// The product's uninstaller run as the host runs it, in installations of its own: what it
// returns, what it leaves on disk and what reaches the feedback service.

#include "loopbackserver.h"
#include "testenvironment.h"
#include "wizardprocess.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// Every file below root with a digest of its contents: what "unchanged" means here.
QMap<QString, QByteArray> contentsBelow(const QString& root)
{
    QMap<QString, QByteArray> contents;
    for (const QString& path : filesBelow(root)) {
        QFile file(root + QLatin1Char('/') + path);
        contents.insert(path,
            file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                : QFileInfo(file).symLinkTarget().toUtf8());
    }
    return contents;
}

// Whether root holds (at least) every file of `before`, unchanged; what the framework and the
// telemetry write while the wizard runs may change.
bool stillHolds(const QString& root, const QMap<QString, QByteArray>& before)
{
    const QMap<QString, QByteArray> now = contentsBelow(root);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key().contains(QLatin1String("TernSoft/"))
            || it.key().contains(QLatin1String("CEIPG/")))
            continue;
        if (now.value(it.key()) != it.value()) {
            qWarning("changed or gone: %s", qPrintable(it.key()));
            return false;
        }
    }
    return true;
}

// Runs `program` under another account, as root can; null when this run cannot.
std::unique_ptr<QProcess> startAsNobody(const QString& program)
{
    if (::getuid() != 0)
        return nullptr;
    // The account must reach the program: open every folder above it for passing through.
    for (QString dir = QFileInfo(program).absolutePath(); dir != QLatin1String("/");
         dir = QFileInfo(dir).absolutePath())
        QFile::setPermissions(dir, QFile::permissions(dir) | QFile::ExeOther);
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral("setpriv"),
        { "--reuid=65534", "--regid=65534", "--clear-groups", program, "600" });
    if (!process->waitForStarted())
        return nullptr;
    return process;
}

// The walk to the uninstalling page with one cause ticked, then `rest`.
QString walk(const char* cause, const char* rest)
{
    return QStringLiteral("page processPage 1\nclick btnContinue_1\npage causePage_2 0\nclick %1\n"
                          "click btnContinue_2\npage causePage_2 1\nclick btnContinue_3\n%2")
        .arg(QLatin1String(cause), QLatin1String(rest));
}

} // namespace

class TestUninstallRun : public QObject {
    Q_OBJECT

private:
    LoopbackServer m_service;
    int m_installations = 0;
    QString m_productName;

    // A fresh installation with an application tree of its own, in `folder` when one is
    // given. Its product name is unique, so that terminating "the application" never reaches
    // another test.
    QString makeInstallation(
        bool testMode, const QString& folder = QString(), const QJsonObject& extendParams = {})
    {
        const QString name = QStringLiteral("run%1").arg(++m_installations);
        m_productName = QStringLiteral("Tern Converter %1 %2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(name);
        QJsonObject params = extendParams;
        params.insert(QStringLiteral("uninstallTest"), testMode ? "1" : "0");
        params.insert(QStringLiteral("uninstallReportUrl"), m_service.address("/report"));
        const QString dir = WizardProcess::makeInstallation(
            folder.isEmpty() ? name : folder, params, m_productName);
        for (const char* path : { "unins000.exe", "unins000.dat", "plugins/codecs/a.bin",
                 "plugins/codecs/b.bin", "docs/guide.txt", ".settings/hidden.ini" })
            TestEnv::writeFile(dir + QLatin1Char('/') + QLatin1String(path), "data");
        return dir;
    }

    QString dataFile(const QString& name) const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/TernSoft/") + m_productName + QLatin1Char('/') + name;
    }

    bool stillRegistered() const
    {
        const QSettings settings(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + QStringLiteral("/TernSoft/") + m_productName + QStringLiteral("/settings.ini"),
            QSettings::IniFormat);
        return settings.value(QStringLiteral("install/registered"), true).toBool();
    }

    // Runs the installation's uninstaller with the start switch and `options` (none at all
    // without the switch).
    WizardProcess::Run run(const QString& dir, const QString& script, bool startSwitch = true,
        const QStringList& options = {})
    {
        return WizardProcess::run(dir,
            WizardProcess::writeScript(QFileInfo(dir).fileName(), script.split(QLatin1Char('\n'))),
            startSwitch ? QStringList { QStringLiteral("-start_uninstall") } + options
                        : QStringList(),
            90000);
    }

    QString resultPath() const
    {
        return TestEnv::sandboxRoot() + QStringLiteral("/result-") + m_productName
            + QStringLiteral(".json");
    }

    QJsonObject resultFile() const
    {
        QFile file(resultPath());
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    }

    // The product's application, running from its installation as the user started it.
    std::unique_ptr<QProcess> startApplication(const QString& dir)
    {
        const QString application = dir + QLatin1Char('/') + m_productName;
        if (!QFile::copy(QStringLiteral("/bin/sleep"), application))
            return nullptr;
        QFile::setPermissions(application, QFile::permissions(QStringLiteral("/bin/sleep")));
        auto app = std::make_unique<QProcess>();
        app->start(application, { QStringLiteral("600") });
        return app->waitForStarted() ? std::move(app) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_service.listen());
        m_service.setResponse(
            QStringLiteral("/report"), LoopbackServer::Response::json("{\"code\":0}"));
    }

    void init() { m_service.clearRecords(); }

    // Read-only for everyone, root included (which needs the immutable flag); false when the
    // file system cannot do it.
    static bool makeUnremovable(const QString& dir, bool on = true)
    {
        if (::getuid() == 0)
            return QProcess::execute(QStringLiteral("chattr"),
                       { QStringLiteral("-R"), on ? QStringLiteral("+i") : QStringLiteral("-i"),
                           dir })
                == 0;
        return QProcess::execute(QStringLiteral("chmod"),
                   { QStringLiteral("-R"), on ? QStringLiteral("a-w") : QStringLiteral("u+w"),
                       dir })
            == 0;
    }

    // The application runs, as does another account's copy of it; the installation holds
    // links that lead outside and a tree deeper than any path.
    void removalWithTheApplicationRunning()
    {
        const QString dir = makeInstallation(false);
        const std::unique_ptr<QProcess> app = startApplication(dir);
        QVERIFY(app);
        const QString application = app->program();
        const QString othersCopy
            = TestEnv::sandboxRoot() + QStringLiteral("/others/") + m_productName;
        QVERIFY(QDir().mkpath(QFileInfo(othersCopy).absolutePath()));
        QVERIFY(QFile::copy(application, othersCopy));
        const std::unique_ptr<QProcess> others = startAsNobody(othersCopy);

        const QString decoy = TestEnv::sandboxRoot() + QStringLiteral("/decoy");
        QVERIFY(TestEnv::writeFile(decoy + QStringLiteral("/tree/keep.txt"), "keep"));
        QVERIFY(TestEnv::writeFile(decoy + QStringLiteral("/file.txt"), "keep"));
        QVERIFY(QFile::link(decoy + QStringLiteral("/tree"), dir + QStringLiteral("/linked-dir")));
        QVERIFY(
            QFile::link(decoy + QStringLiteral("/file.txt"), dir + QStringLiteral("/linked-file")));
        QVERIFY(TestEnv::makeDeepTree(dir + QStringLiteral("/docs"), 2000));
        const QMap<QString, QByteArray> decoyBefore = contentsBelow(decoy);

        const WizardProcess::Run result = run(dir, walk("crash", R"(wait CheckCloseDlg visible
click btnContinue
page processPage 3
wait frameEmail visible 60000
text thinkLab Uninstallation completed!
text lblRemovalNote Items that stayed behind: 1.
type emailEdit someone@example.com
click btnComplete)"),
            true, { "-result=" + resultPath() });
        QVERIFY(result.returned(512));
        QTRY_COMPARE(app->state(), QProcess::NotRunning);
        QCOMPARE(resultFile()["outcome"], "removed");
        if (others)
            QCOMPARE(others->state(), QProcess::Running);

        // The setup tool's files stay, with the hidden folder that only a listing with hidden
        // entries would have reached; nothing outside changed.
        QCOMPARE(filesBelow(dir),
            (QStringList { QStringLiteral(".settings"), QStringLiteral(".settings/hidden.ini"),
                QStringLiteral("unins000.dat"), QStringLiteral("unins000.exe") }));
        QCOMPARE(contentsBelow(decoy), decoyBefore);
        QCOMPARE(m_service.requestCount(), 2);
        QVERIFY(!stillRegistered());

        QFile list(dataFile(QStringLiteral("leftovers.json")));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QStringList setupTool;
        for (const QJsonValue& leftover :
            QJsonDocument::fromJson(list.readAll())["leftovers"].toArray()) {
            if (leftover["reason"] == QLatin1String("setup tool"))
                setupTool << QFileInfo(leftover["path"].toString()).fileName();
        }
        setupTool.sort();
        QCOMPARE(setupTool, (QStringList { "unins000.dat", "unins000.exe" }));
        if (others) {
            others->kill();
            others->waitForFinished();
        }
    }

    // Nothing is removed, the host hears 0 and the product stays registered; the user is told
    // why, and the reports still go out.
    void removalThatCannotGoAhead_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("readOnly");
        const QString home = QDir::homePath();
        QTest::newRow("installed in the home folder") << home << false;
        // Another program's data beside it, as in ~/.local.
        QTest::newRow("installed in a folder holding shared data")
            << home + QStringLiteral("/.local") << false;
        QTest::newRow("a read-only installation") << QString() << true;
    }

    void removalThatCannotGoAhead()
    {
        QFETCH(QString, folder);
        QFETCH(bool, readOnly);
        const QString dir = makeInstallation(false, folder);
        for (const char* path : { "share/OtherApp/data.txt", "bin/othertool", "state/x/state.txt" })
            TestEnv::writeFile(dir + QLatin1Char('/') + QLatin1String(path), "theirs");
        if (readOnly && !makeUnremovable(dir))
            QSKIP("this file system cannot make a folder unremovable for this account");
        const QMap<QString, QByteArray> before = contentsBelow(dir);

        const WizardProcess::Run result = run(dir, walk("crash", R"(page processPage 3
text thinkLab Nothing was removed.
wait lblRemovalNote visible
wait frameEmail visible
click btnComplete)"));
        if (readOnly)
            makeUnremovable(dir, false);
        QVERIFY(result.returned(0));
        QVERIFY(stillHolds(dir, before));
        QVERIFY(stillRegistered());
        QCOMPARE(m_service.requestCount(), 2);
    }

    // An administrator's unattended removal: no window, no request to any service.
    void silentRemoval_data()
    {
        QTest::addColumn<bool>("inHome");
        QTest::addColumn<bool>("applicationRuns");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("returned");
        QTest::addColumn<QString>("outcome");
        const QStringList silent { "-silent" };
        QTest::newRow("removal") << false << false << silent << 512 << "removed";
        QTest::newRow("application running")
            << false << true << silent << 0 << "application-running";
        QTest::newRow("application running, to be closed")
            << false << true << silent + QStringList { "-close-applications" } << 512 << "removed";
        QTest::newRow("installed in the home folder") << true << false << silent << 0 << "refused";
        QTest::newRow("unknown option")
            << false << false << silent + QStringList { "-frobnicate" } << 0 << "aborted";
    }

    void silentRemoval()
    {
        QFETCH(bool, inHome);
        QFETCH(bool, applicationRuns);
        QFETCH(QStringList, options);
        QFETCH(int, returned);
        QFETCH(QString, outcome);
        // Content would come from the service, reports would go there: neither may happen.
        const QString dir = makeInstallation(false, inHome ? QDir::homePath() : QString(),
            { { QStringLiteral("uninstallConfigURL"), m_service.address("/config.json") } });
        std::unique_ptr<QProcess> app;
        if (applicationRuns)
            QVERIFY(app = startApplication(dir));
        const QMap<QString, QByteArray> before = contentsBelow(dir);

        const WizardProcess::Run result = run(dir, QStringLiteral("# no steps"), true,
            options + QStringList { "-result=" + resultPath() });

        QVERIFY(result.returned(returned));
        QVERIFY2(!result.errors.contains("window shown"), result.errors.constData());
        QCOMPARE(m_service.requestCount(), 0);
        const QJsonObject json = resultFile();
        QCOMPARE(json["outcome"].toString(), outcome);
        QVERIFY(json["durationSeconds"].isDouble());
        if (returned == 512) {
            QCOMPARE(filesBelow(dir),
                (QStringList {
                    ".settings", ".settings/hidden.ini", "unins000.dat", "unins000.exe" }));
            QVERIFY(json["files"].toInt() > 5 && json["directories"].toInt() > 1);
            QCOMPARE(json["leftBehind"].toInt(), 1); // the hidden folder
            QVERIFY(!stillRegistered());
        } else {
            QVERIFY(stillHolds(dir, before));
            QVERIFY(stillRegistered());
        }
        if (app)
            QCOMPARE(app->state() == QProcess::Running, returned == 0);
    }

    void windowSystemCloseWaitsForTheRemoval()
    {
        const QString dir = makeInstallation(false);
        // Enough files that the removal is still running when the close request comes.
        for (int i = 0; i < 8000; ++i)
            TestEnv::writeFile(
                dir + QStringLiteral("/media/set%1/file%2.bin").arg(i / 400).arg(i), "x");
        const WizardProcess::Run result = run(dir, walk("price", R"(page processPage 3
close UnInstallWindow
wait frameBar visible
wait frameEmail visible 60000
click btnComplete)"));
        // Had the close gone through, the window would have hidden and the script failed.
        QVERIFY(result.returned(512));
        QVERIFY(!QDir(dir + QStringLiteral("/media")).exists());
        QCOMPARE(m_service.requestCount(), 2);
    }

    void nothingRemoved_data()
    {
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("reports");
        QTest::newRow("test mode, walked to the end")
            << true
            << walk("slow",
                   "page processPage 3\nclick btnComplete\nwait frameEmail visible\nclick btnClose")
            << 1;
        QTest::newRow("closed on the home page")
            << false << QStringLiteral("page processPage 1\nclick btnCancel_1") << 0;
    }

    void nothingRemoved()
    {
        QFETCH(bool, testMode);
        QFETCH(QString, script);
        QFETCH(int, reports);
        const QString dir = makeInstallation(testMode);
        const QStringList before = filesBelow(dir);
        // Test mode starts without the switch.
        const WizardProcess::Run result = run(dir, script, !testMode);
        QVERIFY(result.returned(0));
        QCOMPARE(filesBelow(dir), before);
        QCOMPARE(m_service.requestCount(), reports);
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRun)
#include "tst_uninstallrun.moc"
