// The update offer: "Upgrade Now" starts the downloaded updater, whatever spaces its path
// holds, and ends the wizard with nothing removed.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "content/updaterlocation.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "wizard/uninstall.h"

#include "platform.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace WizardRunner;

class TestUpdateOffer : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    QTemporaryDir m_markers { QDir::tempPath() + QStringLiteral("/updater marker XXXXXX") };

private slots:
    void initTestCase()
    {
        QVERIFY(m_markers.isValid());
        setUpHost(&m_context);
        QVERIFY(TestEnv::dataLocation().contains(QLatin1Char(' ')));
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void upgradeNow_data()
    {
        QTest::addColumn<QString>("productName");
        QTest::addColumn<bool>("downloaded");
        QTest::newRow("updater") << QStringLiteral("Tern Converter") << true;
        QTest::newRow("name with more spaces") << QStringLiteral("Tern  Converter Pro 2") << true;
        QTest::newRow("updater not downloaded") << QStringLiteral("Tern Converter") << false;
    }

    void upgradeNow()
    {
        QFETCH(QString, productName);
        QFETCH(bool, downloaded);
        uninstallAborted = false;
        const QString marker = m_markers.filePath(QStringLiteral("updater ran.txt"));
        QFile::remove(marker);
        TestEnv::updateProduct({ { QStringLiteral("name"), productName } });
        const QString updater = TestEnv::dataLocation() + QStringLiteral("/updater/")
            + Platform::executableFileName(productName);
        QCOMPARE(updaterPath(), updater);
        QFile::remove(updater);
        // A stand-in updater that writes how many arguments it got and the path it ran as.
        if (downloaded) {
            QVERIFY(TestEnv::writeFile(updater,
                QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"%1\"\n")
                    .arg(marker)
                    .toUtf8()));
            QVERIFY(QFile::setPermissions(
                updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }

        // Test mode, so that nothing could be deleted even if the wizard went on.
        auto wizard = showWizard(true);
        QVERIFY(walkTo(wizard.get(), UpdateOffer));
        TestEnv::clearAnalyticsEvents();
        QVERIFY(quitsOn([&] { child<QAbstractButton>(wizard.get(), "btnUpdate")->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains(QStringLiteral("Uninstall updateApp")));
        // The way out skips the close sequence: no page-end event, no report.
        for (const QJsonObject& event : TestEnv::analyticsEvents())
            QVERIFY(event.value(QStringLiteral("action")) != QLatin1String("show_end"));
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
        const auto ranAs = [&marker] {
            QFile ran(marker);
            return ran.open(QIODevice::ReadOnly) ? QString::fromUtf8(ran.readAll()) : QString();
        };
        if (downloaded)
            QTRY_COMPARE(ranAs(), QStringLiteral("0\n") + updater + QLatin1Char('\n'));
        else
            QVERIFY(!QFile::exists(marker));
    }
};

UNINSTALL_TEST_MAIN(TestUpdateOffer)
#include "tst_updateoffer.moc"
