// The product's uninstaller run as the host runs it, in installations of its own: what it
// returns, what it leaves on disk and what reaches the feedback service.

#include "httptestserver.h"
#include "testenvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    int result = -1; // what main_entry returned, as the host printed it
    QString errors;
};

QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace

class TestUninstallRun : public QObject {
    Q_OBJECT

private:
    HttpTestServer m_service;
    int m_installations = 0;

    // A fresh installation of the sample product with an application tree of its own. Its
    // product name is unique, so that terminating "the application" never reaches another test.
    QString makeInstallation(bool testMode)
    {
        const QString name = QStringLiteral("run%1").arg(++m_installations);
        const QString dir = TestEnv::makeInstallation(name);
        QFile file(dir + QStringLiteral("/product.json"));
        file.open(QIODevice::ReadOnly);
        QJsonObject product = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        product.insert(QStringLiteral("name"),
            QStringLiteral("Tern Converter %1 %2").arg(QCoreApplication::applicationPid()).arg(name));
        QJsonObject params = product.value(QStringLiteral("extendParams")).toObject();
        params.insert(QStringLiteral("uninstallTest"), testMode ? QStringLiteral("1") : QStringLiteral("0"));
        params.insert(QStringLiteral("uninstallReportUrl"), m_service.address(QStringLiteral("/report")));
        product.insert(QStringLiteral("extendParams"), params);
        TestEnv::writeFile(dir + QStringLiteral("/product.json"), QJsonDocument(product).toJson());

        for (const char* path : { "unins000.exe", "unins000.dat", "plugins/codecs/a.bin", "plugins/codecs/b.bin",
                 "docs/guide.txt", ".settings/hidden.ini" })
            TestEnv::writeFile(dir + QLatin1Char('/') + QLatin1String(path), "data");
        return dir;
    }

    QString productName(const QString& dir)
    {
        QFile file(dir + QStringLiteral("/product.json"));
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("name")).toString();
    }

    Run run(const QString& dir, const QStringList& arguments, const QString& script)
    {
        const QString scriptFile = dir + QStringLiteral(".autopilot");
        TestEnv::writeFile(scriptFile, script.toUtf8());
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TERN_AUTOPILOT"), scriptFile);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(TestEnv::sandboxRoot());
        QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        process.start(dir + QStringLiteral("/uninstaller"), arguments);
        // The event loop keeps running while we wait, so the feedback service can answer.
        finished.wait(90000);
        Run result;
        result.status = process.exitCode();
        const QByteArray output = process.readAllStandardOutput();
        const int at = output.indexOf("main_entry returned ");
        if (at >= 0)
            result.result = output.mid(at + 20).split('\n').value(0).toInt();
        result.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    QList<QJsonObject> reports() const
    {
        QList<QJsonObject> documents;
        const QList<HttpTestServer::Request> posts = m_service.requests(QStringLiteral("/report"));
        for (const HttpTestServer::Request& post : posts)
            documents.append(QJsonDocument::fromJson(post.body).object());
        return documents;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_service.listen());
        m_service.setResponse(QStringLiteral("/report"), HttpTestServer::Response::json("{\"code\":0}"));
    }

    void init() { m_service.clearRecords(); }

    void removalWithTheApplicationRunning()
    {
        const QString dir = makeInstallation(false);
        const QString application = dir + QLatin1Char('/') + productName(dir);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), application));
        QFile::setPermissions(application, QFile::permissions(QStringLiteral("/bin/sleep")));
        QProcess app;
        app.start(application, { QStringLiteral("600") });
        QVERIFY(app.waitForStarted());

        const Run result = run(dir, { QStringLiteral("-start_uninstall") }, QStringLiteral(R"(
page processPage 1
click btnContinue_1
page causePage_2 0
click crash
click btnContinue_2
page causePage_2 1
click btnContinue_3
wait CheckCloseDlg visible
click btnContinue
page processPage 3
wait frameEmail visible 60000
type emailEdit someone@example.com
click btnComplete
)"));
        QCOMPARE(result.result, 512);
        QCOMPARE(result.status, 2);
        QTRY_COMPARE(app.state(), QProcess::NotRunning);

        // The setup tool's files stay, with the hidden folder that only a listing with hidden
        // entries would have reached.
        QCOMPARE(filesBelow(dir),
            (QStringList { QStringLiteral(".settings"), QStringLiteral(".settings/hidden.ini"),
                QStringLiteral("unins000.dat"), QStringLiteral("unins000.exe") }));

        const QList<QJsonObject> posted = reports();
        QCOMPARE(posted.size(), 2);
        QCOMPARE(posted.at(1).value(QStringLiteral("tid")), posted.at(0).value(QStringLiteral("tid")));
        QCOMPARE(posted.at(1).value(QStringLiteral("userEmail")).toString(), QStringLiteral("someone@example.com"));
        const QJsonArray causes = posted.at(0).value(QStringLiteral("uninstallCause")).toArray();
        QCOMPARE(causes.at(1).toObject().value(QStringLiteral("crash")).toBool(), true);
    }

    void windowSystemCloseWaitsForTheRemoval()
    {
        const QString dir = makeInstallation(false);
        // Enough files that the removal is still running when the close request comes.
        for (int i = 0; i < 8000; ++i)
            TestEnv::writeFile(dir + QStringLiteral("/media/set%1/file%2.bin").arg(i / 400).arg(i), "x");
        const Run result = run(dir, { QStringLiteral("-start_uninstall") }, QStringLiteral(R"(
page processPage 1
click btnContinue_1
page causePage_2 0
click price
click btnContinue_2
page causePage_2 1
click btnContinue_3
page processPage 3
close UnInstallWindow
wait frameBar visible
wait frameEmail visible 60000
click btnComplete
)"));
        // Had the close gone through, the window would have hidden and the script failed.
        QCOMPARE(result.result, 512);
        QVERIFY2(!result.errors.contains(QStringLiteral("timed out")), qPrintable(result.errors));
        QVERIFY(!QDir(dir + QStringLiteral("/media")).exists());
        QCOMPARE(reports().size(), 2);
    }

    void testModeRemovesNothing()
    {
        const QString dir = makeInstallation(true);
        const QStringList before = filesBelow(dir);
        const Run result = run(dir, {}, QStringLiteral(R"(
page processPage 1
click btnContinue_1
page causePage_2 0
click slow
click btnContinue_2
page causePage_2 1
click btnContinue_3
page processPage 3
click btnComplete
wait frameEmail visible
click btnClose
)"));
        QCOMPARE(result.result, 0);
        QCOMPARE(result.status, 0);
        QCOMPARE(filesBelow(dir), before);
        QCOMPARE(reports().size(), 1);
    }

    void closingOnTheHomePageRemovesNothing()
    {
        const QString dir = makeInstallation(false);
        const QStringList before = filesBelow(dir);
        const Run result = run(dir, { QStringLiteral("-start_uninstall") }, QStringLiteral("page processPage 1\nclick btnCancel_1\n"));
        QCOMPARE(result.result, 0);
        QCOMPARE(filesBelow(dir), before);
        QVERIFY(reports().isEmpty());
    }

    void missingSwitchShowsNothing()
    {
        const QString dir = makeInstallation(false);
        const QStringList before = filesBelow(dir);
        // A script that would fail at once if a window ever showed up.
        const Run result = run(dir, {}, QStringLiteral("wait UnInstallWindow visible 100000\n"));
        QCOMPARE(result.result, 0);
        QCOMPARE(filesBelow(dir), before);
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRun)
#include "tst_uninstallrun.moc"
