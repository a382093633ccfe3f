// The start and stop events of the telemetry library: once-per-version variants, the "ceip"
// log lines, and a library that is not there.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "platform.h"
#include "ternsettings.h"

#include <QFile>
#include <QtTest>

namespace {

const QString kStartFirst = QStringLiteral("c_start_uinstall_1st");
const QString kStopFirst = QStringLiteral("c_stop_uinstall_1st");
const QString kStart = QStringLiteral("c_start_uinstall");
const QString kStop = QStringLiteral("c_stop_uinstall");

QString eventFile()
{
    return TestEnv::sandboxRoot() + QStringLiteral("/ceipg-events.log");
}

QString libraryFile()
{
    return TestEnv::installDir() + QLatin1Char('/')
        + Platform::sharedLibraryFileName(QStringLiteral("CEIPG"));
}

// The lines the telemetry library recorded: "channel<TAB>event<TAB>extra<TAB>value".
QStringList recordedEvents()
{
    QFile file(eventFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The library got `start` and `stop` in that order, and the "ceip" log tells of both.
void expectSent(const QString& start, const QString& stop, bool libraryThere = true)
{
    const auto recorded = [](const QString& event) {
        return QStringLiteral("ternga\t") + event + QStringLiteral("\t\t0");
    };
    QCOMPARE(recordedEvents(),
        (libraryThere ? QStringList { recorded(start), recorded(stop) } : QStringList()));
    QCOMPARE(TestEnv::logMessages(QStringLiteral("ceip")),
        (QStringList { QStringLiteral(" CEIPG::CoreEvent, ") + start,
            QStringLiteral(" CEIPG::CoreEvent, ") + stop }));
}

void setVersion(const QString& version)
{
    TestEnv::updateProduct(QJsonObject { { QStringLiteral("version"), version } });
}

QString markerKey(const QString& version, const QString& event)
{
    return version + QStringLiteral("/ternga_") + event;
}

// One wizard run in test mode, closed from its first page.
void runWizard()
{
    QCOMPARE(WizardRunner::runMainEntry({}), 0);
}

} // namespace

class TestCoreEvents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("CEIPG_EVENT_FILE", QFile::encodeName(eventFile()));
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
    }

    void init()
    {
        QFile::remove(eventFile());
        TestEnv::clearLog();
    }

    void cleanup() { QVERIFY(!WizardRunner::visibleWizard()); }

    // Runs before any event reached the library, so nothing of it is loaded yet.
    void missingLibraryStillLogs()
    {
        const QString parked = libraryFile() + QStringLiteral(".parked");
        QVERIFY(QFile::rename(libraryFile(), parked));
        setVersion(QStringLiteral("1.0.0"));
        runWizard();
        QVERIFY(QFile::rename(parked, libraryFile()));

        expectSent(kStartFirst, kStopFirst, false);

        // The library is looked for again on the next event, and found now.
        TestEnv::clearLog();
        runWizard();
        expectSent(kStart, kStop);
    }

    void firstTimeOncePerVersion()
    {
        const struct {
            const char* version;
            QString start;
            QString stop;
        } runs[] = {
            { "2.0.0", kStartFirst, kStopFirst }, { "2.0.0", kStart, kStop },
            { "2.0.0", kStart, kStop },
            { "2.1.0", kStartFirst, kStopFirst }, // an upgrade starts over
            { "2.0.0", kStart, kStop }, // and leaves the older version's markers alone
        };
        for (const auto& run : runs) {
            init();
            setVersion(QString::fromLatin1(run.version));
            runWizard();
            expectSent(run.start, run.stop);
        }
    }

    void refusedStartSendsNothing()
    {
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("0"));
        setVersion(QStringLiteral("4.0.0"));
        QCOMPARE(WizardRunner::runMainEntry({ QStringLiteral("-other") }), 0);
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        QCOMPARE(recordedEvents(), QStringList());
        QCOMPARE(TestEnv::logMessages(QStringLiteral("ceip")), QStringList());
        QVERIFY(!TernSettings::instance()
                     ->value(markerKey(QStringLiteral("4.0.0"), kStart), QVariant())
                     .isValid());
    }
};

UNINSTALL_TEST_MAIN(TestCoreEvents)
#include "tst_coreevents.moc"
