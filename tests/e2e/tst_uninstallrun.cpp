// The product's uninstaller run as the host runs it, in installations of its own: what it
// returns, what it leaves on disk and what reaches the feedback service.

#include "httptestserver.h"
#include "testenvironment.h"
#include "wizardprocess.h"

#include <QDirIterator>
#include <QtTest>

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
    HttpTestServer m_service;
    int m_installations = 0;
    QString m_productName;

    // A fresh installation with an application tree of its own. Its product name is unique, so
    // that terminating "the application" never reaches another test.
    QString makeInstallation(bool testMode)
    {
        const QString name = QStringLiteral("run%1").arg(++m_installations);
        m_productName = QStringLiteral("Tern Converter %1 %2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(name);
        const QString dir = WizardProcess::makeInstallation(name,
            { { QStringLiteral("uninstallTest"),
                  testMode ? QStringLiteral("1") : QStringLiteral("0") },
                { QStringLiteral("uninstallReportUrl"),
                    m_service.address(QStringLiteral("/report")) } },
            m_productName);
        for (const char* path : { "unins000.exe", "unins000.dat", "plugins/codecs/a.bin",
                 "plugins/codecs/b.bin", "docs/guide.txt", ".settings/hidden.ini" })
            TestEnv::writeFile(dir + QLatin1Char('/') + QLatin1String(path), "data");
        return dir;
    }

    WizardProcess::Run run(const QString& dir, const QString& script, bool startSwitch = true)
    {
        return WizardProcess::run(dir,
            WizardProcess::writeScript(QFileInfo(dir).fileName(), script.split(QLatin1Char('\n'))),
            startSwitch ? QStringList { QStringLiteral("-start_uninstall") } : QStringList(),
            90000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_service.listen());
        m_service.setResponse(
            QStringLiteral("/report"), HttpTestServer::Response::json("{\"code\":0}"));
    }

    void init() { m_service.clearRecords(); }

    void removalWithTheApplicationRunning()
    {
        const QString dir = makeInstallation(false);
        const QString application = dir + QLatin1Char('/') + m_productName;
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), application));
        QFile::setPermissions(application, QFile::permissions(QStringLiteral("/bin/sleep")));
        QProcess app;
        app.start(application, { QStringLiteral("600") });
        QVERIFY(app.waitForStarted());

        const WizardProcess::Run result = run(dir, walk("crash", R"(wait CheckCloseDlg visible
click btnContinue
page processPage 3
wait frameEmail visible 60000
type emailEdit someone@example.com
click btnComplete)"));
        QVERIFY2(result.ended, result.errors.constData());
        QCOMPARE(result.result, 512);
        // The exit status carries only 512 >> 8.
        QCOMPARE(result.exitCode, 2);
        QTRY_COMPARE(app.state(), QProcess::NotRunning);

        // The setup tool's files stay, with the hidden folder that only a listing with hidden
        // entries would have reached.
        QCOMPARE(filesBelow(dir),
            (QStringList { QStringLiteral(".settings"), QStringLiteral(".settings/hidden.ini"),
                QStringLiteral("unins000.dat"), QStringLiteral("unins000.exe") }));
        QCOMPARE(m_service.requestCount(), 2);
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
        QVERIFY2(result.ended, result.errors.constData());
        QCOMPARE(result.result, 512);
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
        QVERIFY2(result.ended, result.errors.constData());
        QCOMPARE(result.result, 0);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(filesBelow(dir), before);
        QCOMPARE(m_service.requestCount(), reports);
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRun)
#include "tst_uninstallrun.moc"
