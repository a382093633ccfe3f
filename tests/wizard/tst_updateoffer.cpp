// The update offer: "Upgrade Now" starts the downloaded updater, whatever spaces its path
// holds, and ends the wizard with nothing removed.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "content/uninstallprofile.h"
#include "content/updaterlocation.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "platform.h"
#include "ternlog.h"
#include "ternsingleinstance.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QString kProductName = QStringLiteral("Tern Converter");

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool anyAction(const QString& action)
{
    const QList<QJsonObject> events = TestEnv::analyticsEvents();
    return std::any_of(events.begin(), events.end(), [&](const QJsonObject& event) {
        return event.value(QStringLiteral("action")).toString() == action;
    });
}

} // namespace

class TestUpdateOffer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Uninstall> m_wizard;
    QTemporaryDir m_markers { QDir::tempPath() + QStringLiteral("/updater marker XXXXXX") };

    QString markerFile() const { return m_markers.filePath(QStringLiteral("updater ran.txt")); }

    // A stand-in updater where the download puts it: it writes how many arguments it got and
    // the path it was started as.
    bool installUpdater()
    {
        const QString script = QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"%1\"\n")
                                   .arg(markerFile());
        const QString path = updaterPath();
        return TestEnv::writeFile(path, script.toUtf8())
            && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The update offer in test mode, so that nothing could be deleted even if the wizard went on.
    Uninstall* updateOffer()
    {
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        m_wizard = std::make_unique<Uninstall>();
        Uninstall* wizard = m_wizard.get();
        wizard->show();
        auto* pages = child<QStackedWidget>(wizard, "processPage");
        if (!QTest::qWaitFor([pages] { return pages->currentIndex() == 1; }))
            return nullptr;
        child<QPushButton>(wizard, "btnContinue_1")->click();
        emit wizard->contentProfile()->uninstallCauseEmit(true,
            { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                QStringLiteral("e") },
            {}, QString());
        child<QCheckBox>(wizard, "b")->click();
        child<QPushButton>(wizard, "btnContinue_2")->click();
        if (child<QStackedWidget>(wizard, "causePage_2")->currentIndex() != 1)
            return nullptr;
        TestEnv::clearAnalyticsEvents();
        TestEnv::clearLog();
        return wizard;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_markers.isValid());
        SetLogfile(
            (TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
        SetLogLevel(1);
        UninstallRegMgr::init()->setRegContext(new UninstallContext);
        TernSingleInstance::instance()->forceRunState(0);
        QVERIFY(TestEnv::dataLocation().contains(QLatin1Char(' ')));
    }

    void init()
    {
        uninstallAborted = false;
        QFile::remove(markerFile());
    }

    void cleanup()
    {
        m_wizard.reset();
        QFile::remove(updaterPath());
        TestEnv::updateProduct({ { QStringLiteral("name"), kProductName } });
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void upgradeNow_data()
    {
        QTest::addColumn<QString>("productName");
        QTest::addColumn<bool>("downloaded");
        QTest::newRow("updater") << kProductName << true;
        QTest::newRow("name with more spaces") << QStringLiteral("Tern  Converter Pro 2") << true;
        QTest::newRow("updater not downloaded") << kProductName << false;
    }

    void upgradeNow()
    {
        QFETCH(QString, productName);
        QFETCH(bool, downloaded);
        TestEnv::updateProduct({ { QStringLiteral("name"), productName } });
        const QString updater = TestEnv::dataLocation() + QStringLiteral("/updater/")
            + Platform::executableFileName(productName);
        QCOMPARE(updaterPath(), updater);
        if (downloaded)
            QVERIFY(installUpdater());

        Uninstall* wizard = updateOffer();
        QVERIFY(wizard);
        QVERIFY(WizardRunner::quitsOn([wizard] { child<QPushButton>(wizard, "btnUpdate")->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains(QStringLiteral("Uninstall updateApp")));
        // The way out skips the close sequence: no page-end event, no report.
        QVERIFY(!anyAction(QStringLiteral("show_end")));
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
        if (downloaded)
            QTRY_COMPARE(
                readText(markerFile()), QStringLiteral("0\n") + updater + QLatin1Char('\n'));
        else
            QVERIFY(!QFile::exists(markerFile()));
    }

    void nothingHappensAtTheEndOfADrag()
    {
        QVERIFY(installUpdater());
        Uninstall* wizard = updateOffer();
        QVERIFY(wizard);
        QMouseEvent move(
            QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(wizard, &move);
        QVERIFY(wizard->isDragging());

        QVERIFY(!WizardRunner::quitsOn([wizard] { child<QPushButton>(wizard, "btnUpdate")->click(); }, 500));
        QVERIFY(!uninstallAborted);
        QVERIFY(!QFile::exists(markerFile()));
        QVERIFY(wizard->isVisible());
    }
};

UNINSTALL_TEST_MAIN(TestUpdateOffer)
#include "tst_updateoffer.moc"
