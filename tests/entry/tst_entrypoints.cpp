// The library as the host uses it: the names it finds the exports under, the record it
// registers, and main_entry with its start gate, log, telemetry start and stop events, about
// icon and font.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/startupfont.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "framework.h"
#include "platform.h"

#include <QApplication>
#include <QFontDatabase>
#include <QtTest>

namespace {

QString eventFile()
{
    return TestEnv::sandboxRoot() + QStringLiteral("/ceipg-events.log");
}

// The events the telemetry library recorded, and those the "ceip" log tells of.
QStringList recordedEvents()
{
    QFile file(eventFile());
    file.open(QIODevice::ReadOnly);
    QStringList events;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            events << QString::fromUtf8(line.split('\t').value(1));
    }
    return events;
}

QStringList loggedEvents()
{
    return TestEnv::logMessages(QStringLiteral("ceip"))
        .replaceInStrings(QStringLiteral(" CEIPG::CoreEvent, "), QString());
}

void setTestMode(const QString& value)
{
    TestEnv::setExtendParam(QStringLiteral("uninstallTest"), value);
}

} // namespace

class TestEntryPoints : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("CEIPG_EVENT_FILE", QFile::encodeName(eventFile())); }

    void init()
    {
        TestEnv::updateProduct({},
            QJsonObject { { QStringLiteral("uninstallTest"), QStringLiteral("0") },
                { QStringLiteral("isAboutIconShow"), QString() },
                { QStringLiteral("fontFamily"), QString() } });
        TestEnv::clearLog();
        QFile::remove(eventFile());
        qunsetenv("TERN_ZOOM_DPI");
    }

    void cleanup() { QVERIFY(!WizardRunner::visibleWizard()); }

    void oneHolderKeepsTheValidRecord()
    {
        QCOMPARE(UninstallRegMgr::holder(), nullptr);
        UninstallRegMgr* holder = UninstallRegMgr::init();
        QVERIFY(holder);
        QCOMPARE(UninstallRegMgr::init(), holder);
        QCOMPARE(UninstallRegMgr::holder(), holder);
        auto* record = new UninstallContext;
        holder->setRegContext(record);
        holder->setRegContext(nullptr);
        QCOMPARE(holder->context(), record);
    }

    // First, while no event has reached the library yet: the run without it still logs its
    // events, and the library is looked for again on the next one. The "first" variants go out
    // once per version.
    void coreEvents()
    {
        const QString library = TestEnv::installDir() + QLatin1Char('/')
            + Platform::sharedLibraryFileName(QStringLiteral("CEIPG"));
        const struct {
            const char* version;
            bool first;
            bool libraryThere;
        } runs[] = { { "1.0.0", true, false }, { "1.0.0", false, true },
            { "2.0.0", true, true }, // an upgrade starts over
            { "2.0.0", false, true }, { "1.0.0", false, true } }; // and leaves older markers alone
        setTestMode(QStringLiteral("1"));
        for (const auto& run : runs) {
            QFile::remove(eventFile());
            TestEnv::clearLog();
            TestEnv::updateProduct({ { QStringLiteral("version"), run.version } });
            if (!run.libraryThere)
                QVERIFY(QFile::rename(library, library + QStringLiteral(".parked")));
            QCOMPARE(WizardRunner::runMainEntry({}), 0);
            if (!run.libraryThere)
                QVERIFY(QFile::rename(library + QStringLiteral(".parked"), library));
            const QString suffix = run.first ? QStringLiteral("_1st") : QString();
            const QStringList sent { "c_start_uinstall" + suffix, "c_stop_uinstall" + suffix };
            QCOMPARE(loggedEvents(), sent);
            QCOMPARE(recordedEvents(), run.libraryThere ? sent : QStringList());
        }
    }

    void exportedNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("exported");
        QTest::newRow("main_entry, plain") << QByteArray("main_entry") << true;
        QTest::newRow("UinstallFramworkInit, decorated")
            << QByteArray("_Z20UinstallFramworkInitiiPPc") << true;
        QTest::newRow("UinstallFramworkInit, never plain")
            << QByteArray("UinstallFramworkInit") << false;
        QTest::newRow("UninstallRegMgr::init") << QByteArray("_ZN15UninstallRegMgr4initEv") << true;
        QTest::newRow("UninstallRegMgr::setRegContext")
            << QByteArray("_ZN15UninstallRegMgr13setRegContextEP16UninstallContext") << true;
    }

    // After coreEvents: the library brings the telemetry library along.
    void exportedNames()
    {
        QFETCH(QByteArray, name);
        Platform::Library library;
        QVERIFY2(library.load(TestEnv::installDir() + QLatin1Char('/')
                     + Platform::sharedLibraryFileName(QStringLiteral("uninstall"))),
            qPrintable(library.errorString()));
        QTEST(library.resolve(name.constData()) != nullptr, "exported");
        library.leak();
    }

    void startGate_data()
    {
        QTest::addColumn<QString>("testMode");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("starts");

        const QString normal = QStringLiteral("0");
        QTest::newRow("no switch") << normal << QStringList() << false;
        QTest::newRow("switch") << normal << QStringList { "-start_uninstall" } << true;
        QTest::newRow("an unknown option after the switch")
            << normal << QStringList { "-start_uninstall", "x" } << false;
        QTest::newRow("wrong letter case") << normal << QStringList { "-Start_Uninstall" } << false;
        QTest::newRow("switch with a tail")
            << normal << QStringList { "-start_uninstallx" } << false;
        QTest::newRow("switch in second place")
            << normal << QStringList { "x", "-start_uninstall" } << false;
        QTest::newRow("non-numeric test flag is normal mode")
            << QStringLiteral("abc") << QStringList() << false;
        QTest::newRow("test mode needs no switch") << QStringLiteral("1") << QStringList() << true;
    }

    void startGate()
    {
        QFETCH(QString, testMode);
        QFETCH(QStringList, arguments);
        QFETCH(bool, starts);
        setTestMode(testMode);

        bool shown = false;
        const int result = WizardRunner::runMainEntry(arguments, [&](Uninstall* wizard) {
            shown = true;
            QMetaObject::invokeMethod(wizard, "close");
        });

        // Closing on the first page never counts as a removal.
        QCOMPARE(result, 0);
        QCOMPARE(shown, starts);
        // The log lives in the data location, where TestEnv reads it.
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        QCOMPARE(log.value(0), QStringLiteral("InitFramework!"));
        QCOMPARE(log.contains(QStringLiteral("quit uninstall")), !starts);
        QCOMPARE(log.contains(QStringLiteral("uninstallTest is true")), testMode.toInt() == 0);
        if (starts) {
            for (const char* line : { "ceipg init!", "skin setting!", "change CurrentLanguage!",
                     "font setting!", "Uninstall inint start!", "Uninstall inint ending!" })
                QVERIFY2(log.contains(QString::fromLatin1(line)), line);
        }
        QCOMPARE(recordedEvents().size(), starts ? 2 : 0);
        QCOMPARE(loggedEvents().size(), starts ? 2 : 0);
    }

    void aboutIcon_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("shown");
        QTest::newRow("zero hides") << QStringLiteral("0") << false;
        QTest::newRow("text converts to zero") << QStringLiteral("abc") << false;
        QTest::newRow("empty keeps") << QString() << true;
        QTest::newRow("one keeps") << QStringLiteral("1") << true;
    }

    void aboutIcon()
    {
        QFETCH(QString, value);
        Framework::setAboutIcnShow(true);
        TestEnv::updateProduct({},
            QJsonObject { { QStringLiteral("uninstallTest"), QStringLiteral("1") },
                { QStringLiteral("isAboutIconShow"), value } });
        QCOMPARE(WizardRunner::runMainEntry({}), 0);
        QTEST(Framework::aboutIcnShow(), "shown");
    }

    void pointSize_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("points");
        QTest::newRow("1.0") << 1.0 << 10;
        QTest::newRow("1.25") << 1.25 << 12;
        QTest::newRow("1.5") << 1.5 << 15;
    }

    void pointSize()
    {
        QFETCH(double, zoom);
        qputenv("TERN_ZOOM_DPI", QByteArray::number(zoom));
        setTestMode(QStringLiteral("1"));
        int applied = 0;
        WizardRunner::runMainEntry({}, [&](Uninstall* wizard) {
            applied = QApplication::font().pointSize();
            QMetaObject::invokeMethod(wizard, "close");
        });
        QTEST(applied, "points");
    }

    void fontFamily_data()
    {
        const QStringList families = QFontDatabase().families();
        if (families.size() < 2)
            QSKIP("needs two installed font families");
        const QString installed = families.first();
        const QString other = families.last();
        const QString missing = QStringLiteral("No Such Family 42");

        QTest::addColumn<QJsonValue>("param");
        QTest::addColumn<QString>("expected"); // empty: the application font's family
        QTest::newRow("installed, other letter case")
            << QJsonValue(installed.toUpper()) << installed.toUpper();
        QTest::newRow("missing falls back to the English family")
            << QJsonValue(QJsonObject { { QString(), missing }, { QStringLiteral("en"), other } })
            << other;
        QTest::newRow("missing everywhere keeps the application font")
            << QJsonValue(QJsonObject { { QString(), missing }, { QStringLiteral("en"), missing } })
            << QString();
        QTest::newRow("unset ignores the English family")
            << QJsonValue(QJsonObject { { QStringLiteral("en"), other } }) << QString();
    }

    void fontFamily()
    {
        QFETCH(QJsonValue, param);
        QFETCH(QString, expected);
        TestEnv::updateProduct({}, QJsonObject { { QStringLiteral("fontFamily"), param } });
        const QFont base(QStringLiteral("Base Family That Stays"));
        QCOMPARE(startupFont(base).family(), expected.isEmpty() ? base.family() : expected);
    }
};

UNINSTALL_TEST_MAIN(TestEntryPoints)
#include "tst_entrypoints.moc"
