// The per-user identifier the reports carry: made once, kept in the user's registry and
// reused; a value that is not a usable string is replaced; an unwritable registry stores nothing.
// The window's use of it shows in the reports (tests/report/tst_reportdelivery).

#include "testenvironment.h"

#include "entry/useridentifier.h"

#include "platform.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kValueName = QStringLiteral("CEIPIdentifier");
const QString kKnownId = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");

QString keyPath()
{
    // The sample product's GUID.
    return QStringLiteral("Software\\Classes\\CLSID\\{5f0c9a3e-2b7d-4c1e-9a86-3d2f41b7c0de}");
}

Platform::RegistryValue storedValue()
{
    Platform::UserRegistryKey key;
    if (!key.openReadOnly(keyPath()))
        return {};
    return key.value(kValueName);
}

bool isWellFormed(const QString& id)
{
    static const QRegularExpression format(
        QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}$"));
    return format.match(id).hasMatch();
}

} // namespace

class TestUserIdentifier : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        qunsetenv("TERN_REGISTRY_ROOT");
        Platform::UserRegistryKey key;
        QVERIFY(key.create(keyPath()));
        key.remove(kValueName);
    }

    void createdOnceAndReused()
    {
        const QString first = readOrCreateUserId();
        QVERIFY2(isWellFormed(first), qPrintable(first));
        const Platform::RegistryValue stored = storedValue();
        QCOMPARE(stored.type, Platform::RegistryValueType::String);
        QCOMPARE(stored.text, first);
        QCOMPARE(readOrCreateUserId(), first);
    }

    void existingValue_data()
    {
        QTest::addColumn<bool>("isString");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reused");
        QTest::newRow("identifier") << true << kKnownId << true;
        QTest::newRow("short text is taken as it is") << true << QStringLiteral("{abc}") << true;
        QTest::newRow("binary value") << false << kKnownId << false;
        QTest::newRow("empty text") << true << QString() << false;
        QTest::newRow("too long for an identifier") << true << kKnownId + QLatin1Char('0') << false;
    }

    void existingValue()
    {
        QFETCH(bool, isString);
        QFETCH(QString, text);
        QFETCH(bool, reused);
        {
            Platform::UserRegistryKey key;
            QVERIFY(key.create(keyPath()));
            QVERIFY(isString ? key.setString(kValueName, text)
                             : key.setBinary(kValueName, text.toLatin1()));
        }
        const QString id = readOrCreateUserId();
        if (reused) {
            QCOMPARE(id, text);
        } else {
            QVERIFY2(isWellFormed(id), qPrintable(id));
            QCOMPARE(storedValue().type, Platform::RegistryValueType::String);
            QCOMPARE(storedValue().text, id);
        }
    }

    void unwritableRegistryGivesAFreshIdentifier()
    {
        // A plain file where the hive's folder should be: no key can be created below it.
        const QString blocker = TestEnv::sandboxRoot() + QStringLiteral("/registry-blocker");
        QVERIFY(TestEnv::writeFile(blocker, "not a folder"));
        qputenv("TERN_REGISTRY_ROOT",
            QFile::encodeName(blocker + QStringLiteral("/HKEY_CURRENT_USER")));

        const QString first = readOrCreateUserId();
        const QString second = readOrCreateUserId();
        QVERIFY2(isWellFormed(first), qPrintable(first));
        QVERIFY(isWellFormed(second));
        QVERIFY(first != second);
        // Nor did it land anywhere else.
        qunsetenv("TERN_REGISTRY_ROOT");
        QCOMPARE(storedValue().type, Platform::RegistryValueType::None);
    }
};

UNINSTALL_TEST_MAIN(TestUserIdentifier)
#include "tst_useridentifier.moc"
