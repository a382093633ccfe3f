// The host's record and the names the host finds the library's exports under.

#include "testenvironment.h"

#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"

#include "platform.h"

#include <QtTest>

class TestUninstallRegMgr : public QObject {
    Q_OBJECT

private slots:
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

    void exportedNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, exported);
        Platform::Library library;
        QVERIFY2(library.load(TestEnv::installDir() + QLatin1Char('/')
                     + Platform::sharedLibraryFileName(QStringLiteral("uninstall"))),
            qPrintable(library.errorString()));
        QCOMPARE(library.resolve(name.constData()) != nullptr, exported);
        library.leak();
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRegMgr)
#include "tst_uninstallregmgr.moc"
