// The start and stop events of the telemetry library: once-per-version variants, the
// markers in the host settings, the "ceip" log lines, and a library that is not there.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/coreevents.h"

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

QString recorded(const QString& event)
{
    return QStringLiteral("ternga\t") + event + QStringLiteral("\t\t0");
}

QStringList ceipLines()
{
    return TestEnv::logMessages(QStringLiteral("ceip"));
}

QString ceipLine(const QString& event)
{
    return QStringLiteral(" CEIPG::CoreEvent, ") + event;
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

    void libraryLiesNextToTheHostExecutable()
    {
        QCOMPARE(CoreEvents::libraryPath(), libraryFile());
    }

    // Runs before any event reached the library, so nothing of it is loaded yet.
    void missingLibraryStillLogs()
    {
        const QString parked = libraryFile() + QStringLiteral(".parked");
        QVERIFY(QFile::rename(libraryFile(), parked));
        setVersion(QStringLiteral("1.0.0"));
        runWizard();
        QVERIFY(QFile::rename(parked, libraryFile()));

        QCOMPARE(recordedEvents(), QStringList());
        QCOMPARE(ceipLines(), (QStringList { ceipLine(kStartFirst), ceipLine(kStopFirst) }));

        // The library is looked for again on the next event, and found now.
        TestEnv::clearLog();
        runWizard();
        QCOMPARE(recordedEvents(), (QStringList { recorded(kStart), recorded(kStop) }));
        QCOMPARE(ceipLines(), (QStringList { ceipLine(kStart), ceipLine(kStop) }));
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
            QCOMPARE(recordedEvents(), (QStringList { recorded(run.start), recorded(run.stop) }));
            QCOMPARE(ceipLines(), (QStringList { ceipLine(run.start), ceipLine(run.stop) }));
        }
        for (const QString& version : { QStringLiteral("2.0.0"), QStringLiteral("2.1.0") }) {
            for (const QString& event : { kStart, kStop }) {
                const QVariant marker
                    = TernSettings::instance()->value(markerKey(version, event), QVariant());
                QVERIFY2(
                    marker.isValid() && !marker.toBool(), qPrintable(markerKey(version, event)));
            }
        }
    }

    void startAndStopMarkersAreIndependent_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("sentBefore");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::newRow("start sent before")
            << QStringLiteral("3.0.1") << QStringList { kStart } << kStart << kStopFirst;
        QTest::newRow("stop sent before")
            << QStringLiteral("3.0.2") << QStringList { kStop } << kStartFirst << kStop;
        QTest::newRow("marker says not sent")
            << QStringLiteral("3.0.3") << QStringList() << kStartFirst << kStopFirst;
    }

    void startAndStopMarkersAreIndependent()
    {
        QFETCH(QString, version);
        QFETCH(QStringList, sentBefore);
        QFETCH(QString, start);
        QFETCH(QString, stop);
        for (const QString& event : { kStart, kStop })
            TernSettings::instance()->setValue(
                markerKey(version, event), !sentBefore.contains(event));
        setVersion(version);
        runWizard();
        QCOMPARE(recordedEvents(), (QStringList { recorded(start), recorded(stop) }));
    }

    void refusedStartSendsNothing()
    {
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("0"));
        setVersion(QStringLiteral("4.0.0"));
        QCOMPARE(WizardRunner::runMainEntry({ QStringLiteral("-other") }), 0);
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        QCOMPARE(recordedEvents(), QStringList());
        QCOMPARE(ceipLines(), QStringList());
        QVERIFY(!TernSettings::instance()
                     ->value(markerKey(QStringLiteral("4.0.0"), kStart), QVariant())
                     .isValid());
    }
};

UNINSTALL_TEST_MAIN(TestCoreEvents)
#include "tst_coreevents.moc"
