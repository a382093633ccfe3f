// The library as the host uses it: the record it registers, main_entry with its start gate, log,
// telemetry start and stop events, about icon and font, the user identifier the reports carry,
// and the window's analytics events.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/startupfont.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/useridentifier.h"
#include "wizard/uninstall.h"

#include "framework.h"
#include "platform.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kValueName = QStringLiteral("CEIPIdentifier");
const QString kKnownId = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");
// The sample product's GUID.
const QString kKeyPath
    = QStringLiteral("Software\\Classes\\CLSID\\{5f0c9a3e-2b7d-4c1e-9a86-3d2f41b7c0de}");

const QString kEventFile = QStringLiteral("/ceipg-events.log");

// The events the telemetry library recorded, and those the "ceip" log tells of.
QStringList recordedEvents()
{
    QFile file(TestEnv::sandboxRoot() + kEventFile);
    file.open(QIODevice::ReadOnly);
    QStringList events;
    for (const QByteArray& line : file.readAll().split('\n'))
        events << QString::fromUtf8(line.split('\t').value(1));
    events.removeAll(QString());
    return events;
}

QStringList loggedEvents()
{
    return TestEnv::logMessages(QStringLiteral("ceip"))
        .replaceInStrings(QStringLiteral(" CEIPG::CoreEvent, "), QString());
}

// Runs main_entry with these extended parameters, closing the wizard once it shows; `points`
// gets the application font's size the wizard showed with.
int runWith(const QStringList& arguments, const QJsonObject& params, int* points = nullptr)
{
    TestEnv::updateProduct({}, params);
    return WizardRunner::runMainEntry(arguments, [points](Uninstall* wizard) {
        if (points)
            *points = QApplication::font().pointSize();
        QMetaObject::invokeMethod(wizard, "close");
    });
}

} // namespace

using namespace WizardRunner;

class TestEntryPoints : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("CEIPG_EVENT_FILE", QFile::encodeName(TestEnv::sandboxRoot() + kEventFile));
        TernSingleInstance::instance()->forceRunState(0);
    }

    // The page flow makes sure a guard exists; its segment must not outlive the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void init()
    {
        TestEnv::updateProduct(
            {}, { { "uninstallTest", "0" }, { "isAboutIconShow", "" }, { "fontFamily", "" } });
        TestEnv::clearLog();
        QFile::remove(TestEnv::sandboxRoot() + kEventFile);
        qunsetenv("TERN_ZOOM_DPI");
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // Each init() gives the one holder: a second would lose the host's record.
    void oneHolderKeepsTheValidRecord()
    {
        QCOMPARE(UninstallRegMgr::holder(), nullptr);
        auto* record = new UninstallContext;
        UninstallRegMgr::init()->setRegContext(record);
        UninstallRegMgr::init()->setRegContext(nullptr);
        QCOMPARE(UninstallRegMgr::holder()->context(), record);
    }

    // First, while no event has reached the library yet: the run without it still logs its
    // events, and the library is looked for again on the next one. The "first" variants go out
    // once per version; an upgrade starts over and leaves older markers alone.
    void coreEvents()
    {
        const QString library = TestEnv::installDir() + QLatin1Char('/')
            + Platform::sharedLibraryFileName(QStringLiteral("CEIPG"));
        const struct {
            const char* version;
            bool first;
            bool libraryThere;
        } runs[] = { { "1.0.0", true, false }, { "1.0.0", false, true }, { "2.0.0", true, true },
            { "2.0.0", false, true }, { "1.0.0", false, true } };
        for (const auto& run : runs) {
            init();
            TestEnv::updateProduct({ { QStringLiteral("version"), run.version } });
            if (!run.libraryThere)
                QVERIFY(QFile::rename(library, library + QStringLiteral(".parked")));
            QCOMPARE(runWith({}, { { "uninstallTest", "1" } }), 0);
            if (!run.libraryThere)
                QVERIFY(QFile::rename(library + QStringLiteral(".parked"), library));
            const QString suffix = run.first ? QStringLiteral("_1st") : QString();
            const QStringList sent { "c_start_uinstall" + suffix, "c_stop_uinstall" + suffix };
            QCOMPARE(loggedEvents(), sent);
            QCOMPARE(recordedEvents(), run.libraryThere ? sent : QStringList());
        }
    }

    void startGate_data()
    {
        QTest::addColumn<QString>("testMode");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("starts");
        QTest::newRow("no switch") << "0" << QStringList() << false;
        QTest::newRow("switch") << "0" << QStringList { "-start_uninstall" } << true;
        QTest::newRow("an unknown option after the switch")
            << "0" << QStringList { "-start_uninstall", "x" } << false;
        QTest::newRow("wrong letter case") << "0" << QStringList { "-Start_Uninstall" } << false;
        QTest::newRow("switch with a tail") << "0" << QStringList { "-start_uninstallx" } << false;
        QTest::newRow("switch in second place")
            << "0" << QStringList { "x", "-start_uninstall" } << false;
        QTest::newRow("non-numeric test flag is normal mode") << "abc" << QStringList() << false;
        QTest::newRow("test mode needs no switch") << "1" << QStringList() << true;
    }

    void startGate()
    {
        QFETCH(QString, testMode);
        QFETCH(QStringList, arguments);
        QFETCH(bool, starts);
        int shownWith = 0;
        // Closing on the first page never counts as a removal.
        QCOMPARE(runWith(arguments, { { "uninstallTest", testMode } }, &shownWith), 0);
        QCOMPARE(shownWith != 0, starts);
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        QCOMPARE(log.value(0), QStringLiteral("InitFramework!"));
        QCOMPARE(log.contains(QStringLiteral("quit uninstall")), !starts);
        QCOMPARE(log.contains(QStringLiteral("uninstallTest is true")), testMode.toInt() == 0);
        for (const char* line : { "ceipg init!", "skin setting!", "change CurrentLanguage!",
                 "font setting!", "Uninstall inint start!", "Uninstall inint ending!" })
            QVERIFY2(log.contains(QString::fromLatin1(line)) == starts, line);
        QCOMPARE(recordedEvents().size(), starts ? 2 : 0);
        QCOMPARE(loggedEvents().size(), starts ? 2 : 0);
    }

    void aboutIconAndPointSize_data()
    {
        QTest::addColumn<QString>("aboutIcon");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("points");
        QTest::newRow("zero hides, 1.0") << "0" << false << 1.0 << 10;
        QTest::newRow("text converts to zero, 1.25") << "abc" << false << 1.25 << 12;
        QTest::newRow("empty keeps, 1.5") << "" << true << 1.5 << 15;
        QTest::newRow("one keeps") << "1" << true << 1.0 << 10;
    }

    void aboutIconAndPointSize()
    {
        QFETCH(QString, aboutIcon);
        QFETCH(double, zoom);
        Framework::setAboutIcnShow(true);
        qputenv("TERN_ZOOM_DPI", QByteArray::number(zoom));
        int points = 0;
        runWith({}, { { "uninstallTest", "1" }, { "isAboutIconShow", aboutIcon } }, &points);
        QTEST(points, "points");
        QTEST(Framework::aboutIcnShow(), "shown");
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
            << QJsonValue(QJsonObject { { "", missing }, { "en", other } }) << other;
        QTest::newRow("missing everywhere keeps the application font")
            << QJsonValue(QJsonObject { { "", missing }, { "en", missing } }) << QString();
        QTest::newRow("unset ignores the English family")
            << QJsonValue(QJsonObject { { "en", other } }) << QString();
    }

    void fontFamily()
    {
        QFETCH(QJsonValue, param);
        QFETCH(QString, expected);
        TestEnv::updateProduct({}, QJsonObject { { QStringLiteral("fontFamily"), param } });
        const QFont base(QStringLiteral("Base Family That Stays"));
        QCOMPARE(startupFont(base).family(), expected.isEmpty() ? base.family() : expected);
    }
    // The per-user identifier the reports carry: made once, kept in the user's registry and
    // reused; a value that is not a usable string is replaced; an unwritable registry stores
    // nothing. The window's use of it shows in tests/report/tst_reportdelivery.
    void userIdentifier_data()
    {
        QTest::addColumn<QVariant>("stored"); // a text, bytes, nothing, or false: unwritable
        QTest::addColumn<bool>("reused");
        QTest::newRow("nothing stored: made once, then kept") << QVariant() << false;
        QTest::newRow("identifier") << QVariant(kKnownId) << true;
        QTest::newRow("short text is taken as it is") << QVariant("{abc}") << true;
        QTest::newRow("binary value") << QVariant(kKnownId.toLatin1()) << false;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("too long for an identifier") << QVariant(kKnownId + '0') << false;
        QTest::newRow("unwritable registry: a fresh one each time") << QVariant(false) << false;
    }

    void userIdentifier()
    {
        QFETCH(QVariant, stored);
        const bool unwritable = stored.type() == QVariant::Bool;
        Platform::UserRegistryKey key;
        QVERIFY(key.create(kKeyPath));
        key.remove(kValueName);
        QVERIFY(stored.type() != QVariant::String || key.setString(kValueName, stored.toString()));
        QVERIFY(stored.type() != QVariant::ByteArray
            || key.setBinary(kValueName, stored.toByteArray()));
        key.close();
        // A plain file where the hive's folder should be: no key can be created below it.
        if (unwritable)
            qputenv("TERN_REGISTRY_ROOT",
                QFile::encodeName(TestEnv::installDir() + "/product.json/HKEY_CURRENT_USER"));
        const QString id = readOrCreateUserId();
        const QString again = readOrCreateUserId();
        qunsetenv("TERN_REGISTRY_ROOT");

        static const QRegularExpression wellFormed(
            "^\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}$");
        QFETCH(bool, reused);
        if (reused)
            QCOMPARE(id, stored.toString());
        else
            QVERIFY2(wellFormed.match(id).hasMatch() && wellFormed.match(again).hasMatch(),
                qPrintable(id + ' ' + again));
        QCOMPARE(again == id, !unwritable);
        // Nor did an unstorable one land anywhere else.
        QVERIFY(key.openReadOnly(kKeyPath));
        QCOMPARE(key.value(kValueName).text, unwritable ? QString() : id);
        QCOMPARE(key.value(kValueName).type == Platform::RegistryValueType::String, !unwritable);
    }

    // Each at its trigger, with its category, action, label, type 1 and value 0, and nothing
    // else sent with it.
    void eventAtItsTrigger_data()
    {
        QTest::addColumn<int>("page"); // -1: still loading
        QTest::addColumn<bool>("dragging");
        QTest::addColumn<QString>("trigger"); // a button's name, "close" or "" for the start
        QTest::addColumn<QString>("sent"); // action|label
        const auto row = [](const char* name, int page, const char* trigger, const char* sent,
                             bool dragging = false) {
            QTest::newRow(name) << page << dragging << QString(trigger) << QString(sent);
        };
        row("window built", -1, "", "show_start|");
        row("continue on the home page", Home, "btnContinue_1", "btn_continue_homepage|");
        row("continue on the reason page", Reason, "btnContinue_2", "btn_continue_reason|");
        row("continue on the update offer", UpdateOffer, "btnContinue_3", "btn_continue_update|");
        row("done", Uninstalling, "btnComplete", "btn_done|");
        // The page-end event names the page the user left.
        row("close while loading", -1, "close", "show_end|");
        row("close on the home page", Home, "close", "show_end|homepage");
        row("close on the update offer", UpdateOffer, "close", "show_end|update");
        row("close on the uninstalling page", Uninstalling, "btnClose", "show_end|done");
        // A button released at the end of a drag does nothing, but its event still goes out.
        row("continue at the end of a drag", Home, "btnContinue_1", "btn_continue_homepage|", true);
        row("done at the end of a drag", Uninstalling, "btnComplete", "btn_done|", true);
        row("close at the end of a drag", Reason, "close", "show_end|reason", true);
    }

    void eventAtItsTrigger()
    {
        QFETCH(int, page);
        QFETCH(bool, dragging);
        QFETCH(QString, trigger);
        QFETCH(QString, sent);
        TestEnv::clearAnalyticsEvents();
        const std::unique_ptr<Uninstall> wizard = showWizard(true);
        if (page < 0)
            QCOMPARE(where(wizard.get()), QStringLiteral("0.0 0"));
        else
            QVERIFY(walkTo(wizard.get(), Page(page)));
        if (dragging)
            startDragging(wizard.get());
        if (!trigger.isEmpty())
            TestEnv::clearAnalyticsEvents();
        if (trigger == QLatin1String("close"))
            QMetaObject::invokeMethod(wizard.get(), "close");
        else if (!trigger.isEmpty())
            child<QAbstractButton>(wizard.get(), qPrintable(trigger))->click();
        QCOMPARE(analytics({ "category", "action", "label", "type", "value" }),
            QStringList { QStringLiteral("offload_retention|%1|1|0").arg(sent) });
    }
};

UNINSTALL_TEST_MAIN(TestEntryPoints)
#include "tst_entrypoints.moc"
