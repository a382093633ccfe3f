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

enum Stored { Nothing, Text, Binary, Unwritable };

class TestUserIdentifier : public QObject {
    Q_OBJECT

private slots:
    void identifier_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reused");
        QTest::newRow("nothing stored: made once, then kept") << int(Nothing) << QString() << false;
        QTest::newRow("identifier") << int(Text) << kKnownId << true;
        QTest::newRow("short text is taken as it is")
            << int(Text) << QStringLiteral("{abc}") << true;
        QTest::newRow("binary value") << int(Binary) << kKnownId << false;
        QTest::newRow("empty text") << int(Text) << QString() << false;
        QTest::newRow("too long for an identifier")
            << int(Text) << kKnownId + QLatin1Char('0') << false;
        QTest::newRow("unwritable registry: a fresh one each time")
            << int(Unwritable) << QString() << false;
    }

    void identifier()
    {
        QFETCH(int, stored);
        QFETCH(QString, text);
        QFETCH(bool, reused);
        {
            Platform::UserRegistryKey key;
            QVERIFY(key.create(keyPath()));
            key.remove(kValueName);
            if (stored == Text)
                QVERIFY(key.setString(kValueName, text));
            if (stored == Binary)
                QVERIFY(key.setBinary(kValueName, text.toLatin1()));
        }
        // A plain file where the hive's folder should be: no key can be created below it.
        const QString blocker = TestEnv::sandboxRoot() + QStringLiteral("/registry-blocker");
        if (stored == Unwritable) {
            QVERIFY(TestEnv::writeFile(blocker, "not a folder"));
            qputenv("TERN_REGISTRY_ROOT", QFile::encodeName(blocker + "/HKEY_CURRENT_USER"));
        }
        const QString id = readOrCreateUserId();
        const QString again = readOrCreateUserId();
        qunsetenv("TERN_REGISTRY_ROOT");

        if (reused)
            QCOMPARE(id, text);
        else
            QVERIFY2(isWellFormed(id) && isWellFormed(again), qPrintable(id + ' ' + again));
        QCOMPARE(again == id, stored != Unwritable);
        // Nor did an unstorable one land anywhere else.
        QCOMPARE(storedValue().type,
            stored == Unwritable ? Platform::RegistryValueType::None
                                 : Platform::RegistryValueType::String);
        QCOMPARE(storedValue().text, stored == Unwritable ? QString() : id);
    }
};

UNINSTALL_TEST_MAIN(TestUserIdentifier)
#include "tst_useridentifier.moc"
