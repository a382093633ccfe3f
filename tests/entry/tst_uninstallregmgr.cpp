// The host's record: one holder per process that keeps the first valid record.

#include "testenvironment.h"

#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"

#include <QtTest>

#include <cstring>

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

    void discountSitsAtByte88()
    {
        UninstallContext record;
        record.discount = 0x11223344;
        qint32 atOffset = 0;
        std::memcpy(&atOffset, reinterpret_cast<const char*>(&record) + 88, sizeof atOffset);
        QCOMPARE(atOffset, 0x11223344);
    }
};

UNINSTALL_TEST_MAIN(TestUninstallRegMgr)
#include "tst_uninstallregmgr.moc"
