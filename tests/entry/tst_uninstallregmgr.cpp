// The host's record: one holder per process that keeps the first valid record.

#include "testenvironment.h"

#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"

#include <QtTest>

#include <cstring>

class TestUninstallRegMgr : public QObject {
    Q_OBJECT

private slots:
    void holderIsASingleton()
    {
        QCOMPARE(UninstallRegMgr::holder(), nullptr);
        UninstallRegMgr* first = UninstallRegMgr::init();
        QVERIFY(first);
        QCOMPARE(UninstallRegMgr::init(), first);
        QCOMPARE(UninstallRegMgr::holder(), first);
        QCOMPARE(first->context(), nullptr);
    }

    void nullRecordKeepsTheValidOne()
    {
        UninstallRegMgr* holder = UninstallRegMgr::init();
        auto* record = new UninstallContext;
        record->discount = 25;
        holder->setRegContext(record);
        holder->setRegContext(nullptr);
        QCOMPARE(holder->context(), record);
        QCOMPARE(holder->context()->discount, 25);
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
