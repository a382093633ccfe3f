// main_entry as the host calls it: the start gate, the log, the about icon and the font.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/startupfont.h"
#include "wizard/uninstall.h"

#include "framework.h"

#include <QApplication>
#include <QFontDatabase>
#include <QtTest>

class TestEntryPoints : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::updateProduct({},
            QJsonObject { { QStringLiteral("uninstallTest"), QStringLiteral("0") },
                { QStringLiteral("isAboutIconShow"), QString() },
                { QStringLiteral("fontFamily"), QString() } });
        TestEnv::clearLog();
        qunsetenv("TERN_ZOOM_DPI");
    }

    void cleanup() { QVERIFY(!WizardRunner::visibleWizard()); }

    void startGate_data()
    {
        QTest::addColumn<QString>("testMode");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("starts");

        const QString normal = QStringLiteral("0");
        QTest::newRow("no switch") << normal << QStringList() << false;
        QTest::newRow("switch") << normal << QStringList { QStringLiteral("-start_uninstall") }
                                << true;
        QTest::newRow("an unknown option after the switch")
            << normal << QStringList { QStringLiteral("-start_uninstall"), QStringLiteral("x") }
            << false;
        QTest::newRow("wrong letter case")
            << normal << QStringList { QStringLiteral("-Start_Uninstall") } << false;
        QTest::newRow("switch with a tail")
            << normal << QStringList { QStringLiteral("-start_uninstallx") } << false;
        QTest::newRow("switch in second place")
            << normal << QStringList { QStringLiteral("x"), QStringLiteral("-start_uninstall") }
            << false;
        QTest::newRow("non-numeric test flag is normal mode")
            << QStringLiteral("abc") << QStringList() << false;
        QTest::newRow("test mode needs no switch") << QStringLiteral("1") << QStringList() << true;
    }

    void startGate()
    {
        QFETCH(QString, testMode);
        QFETCH(QStringList, arguments);
        QFETCH(bool, starts);
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), testMode);

        bool shown = false;
        const int result = WizardRunner::runMainEntry(arguments, [&](Uninstall* wizard) {
            shown = true;
            QMetaObject::invokeMethod(wizard, "close");
        });

        // Closing on the first page never counts as a removal.
        QCOMPARE(result, 0);
        QCOMPARE(shown, starts);
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        QCOMPARE(log.value(0), QStringLiteral("InitFramework!"));
        QCOMPARE(log.contains(QStringLiteral("quit uninstall")), !starts);
        QCOMPARE(log.contains(QStringLiteral("uninstallTest is true")), testMode.toInt() == 0);
        if (starts) {
            for (const char* line : { "ceipg init!", "skin setting!", "change CurrentLanguage!",
                     "font setting!", "Uninstall inint start!", "Uninstall inint ending!" })
                QVERIFY2(log.contains(QString::fromLatin1(line)), line);
        }
    }

    void logFileInDataLocation()
    {
        WizardRunner::runMainEntry({});
        QVERIFY(QFile::exists(TestEnv::dataLocation() + QStringLiteral("/uninstall.log")));
        QVERIFY(TestEnv::dataLocation().contains(QStringLiteral("Tern Converter")));
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
        QFETCH(bool, shown);
        Framework::setAboutIcnShow(true);
        TestEnv::updateProduct({},
            QJsonObject { { QStringLiteral("uninstallTest"), QStringLiteral("1") },
                { QStringLiteral("isAboutIconShow"), value } });
        QCOMPARE(WizardRunner::runMainEntry({}), 0);
        QCOMPARE(Framework::aboutIcnShow(), shown);
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
        QFETCH(int, points);
        qputenv("TERN_ZOOM_DPI", QByteArray::number(zoom));
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        int applied = 0;
        WizardRunner::runMainEntry({}, [&](Uninstall* wizard) {
            applied = QApplication::font().pointSize();
            QMetaObject::invokeMethod(wizard, "close");
        });
        QCOMPARE(applied, points);
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
        const QFont font = startupFont(base);
        QCOMPARE(font.family(), expected.isEmpty() ? base.family() : expected);
    }
};

UNINSTALL_TEST_MAIN(TestEntryPoints)
#include "tst_entrypoints.moc"
