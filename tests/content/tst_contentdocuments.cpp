#include "content/contentdocuments.h"

#include "testenvironment.h"

#include <QJsonDocument>
#include <QtTest>

using namespace ContentDocuments;

Q_DECLARE_METATYPE(ContentDocuments::Kind)

namespace {

QJsonObject object(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace

class TestContentDocuments : public QObject {
    Q_OBJECT

private slots:
    void dispatch_data();
    void dispatch();
    void parseFailureLine();
    void causeChoiceLanguage_data();
    void causeChoiceLanguage();
    void causeCheckFlag_data();
    void causeCheckFlag();
    void recommendedAppsOfExactLanguage();
    void causeTextsDefaultAndRemote();
    void serviceConfigReadsStringsOnly();
    void safeFileNames_data();
    void safeFileNames();
};

void TestContentDocuments::dispatch_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<Kind>("kind");

    QTest::newRow("recommended apps")
        << QByteArray(R"({"recommendApp": {}})") << Kind::RecommendedApps;
    QTest::newRow("cause choice") << QByteArray(R"({"uninstallChose": {}})") << Kind::CauseChoice;
    QTest::newRow("cause texts") << QByteArray(R"({"uninstallCause": {}})") << Kind::CauseTexts;
    QTest::newRow("apps win over choice")
        << QByteArray(R"({"uninstallChose": {"en": ["a"]}, "recommendApp": {}})")
        << Kind::RecommendedApps;
    QTest::newRow("choice wins over texts")
        << QByteArray(R"({"uninstallCause": {}, "uninstallChose": {}})") << Kind::CauseChoice;
    QTest::newRow("section that is no object is skipped")
        << QByteArray(R"({"recommendApp": [], "uninstallCause": {}})") << Kind::CauseTexts;
    QTest::newRow("keys are case-sensitive") << QByteArray(R"({"RecommendApp": {}})") << Kind::None;
    QTest::newRow("nothing known") << QByteArray(R"({"users": "1"})") << Kind::None;
    QTest::newRow("array document") << QByteArray(R"([{"recommendApp": {}}])") << Kind::None;
}

void TestContentDocuments::dispatch()
{
    QFETCH(QByteArray, json);
    QFETCH(Kind, kind);
    QJsonDocument document;
    QString failure;
    QVERIFY(parseDocument(json, &document, &failure));
    QCOMPARE(kindOf(document.object()), kind);
}

void TestContentDocuments::parseFailureLine()
{
    QJsonDocument document;
    QString failure;
    const QByteArray broken = "[" + QByteArray(299, ' ') + "x";
    QVERIFY(!parseDocument(broken, &document, &failure));
    QCOMPARE(failure, QStringLiteral("JSON parsing error:illegal number\nError offset : 300"));

    QVERIFY(!parseDocument(QByteArray(), &document, &failure));
    QVERIFY(failure.startsWith(QStringLiteral("JSON parsing error:")));
    QVERIFY(failure.endsWith(QStringLiteral("\nError offset : 0")));
}

void TestContentDocuments::causeChoiceLanguage_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QVector<QString>>("keys");

    const QByteArray both = R"({"uninstallChose": {"de": ["x", "y"], "default": ["a", "b"]}})";
    QTest::newRow("own language") << both << "de" << QVector<QString> { "x", "y" };
    QTest::newRow("default for another language") << both << "fr" << QVector<QString> { "a", "b" };
    QTest::newRow("language code is exact") << both << "DE" << QVector<QString> { "a", "b" };
    QTest::newRow("neither") << QByteArray(R"({"uninstallChose": {"de": ["x"]}})") << "fr"
                             << QVector<QString>();
    QTest::newRow("non-string keys read empty")
        << QByteArray(R"({"uninstallChose": {"default": ["a", 3, null]}})") << "en"
        << QVector<QString> { "a", "", "" };
}

void TestContentDocuments::causeChoiceLanguage()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, language);
    QFETCH(QVector<QString>, keys);
    QCOMPARE(causeChoice(object(json), language).keys, keys);
}

void TestContentDocuments::causeCheckFlag_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("causeCheck");
    QTest::addColumn<QString>("users");

    QTest::newRow("true") << QByteArray(
        R"({"uninstallChose": {}, "uninstallCuaseCheck": true, "users": "9"})")
                          << true << "9";
    QTest::newRow("string true is false")
        << QByteArray(R"({"uninstallChose": {}, "uninstallCuaseCheck": "true"})") << false << "";
    QTest::newRow("number is false")
        << QByteArray(R"({"uninstallChose": {}, "uninstallCuaseCheck": 1, "users": 5})") << false
        << "";
    QTest::newRow("absent") << QByteArray(R"({"uninstallChose": {}})") << false << "";
    QTest::newRow("nested is not read")
        << QByteArray(R"({"uninstallChose": {"uninstallCuaseCheck": true, "users": "9"}})") << false
        << "";
}

void TestContentDocuments::causeCheckFlag()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, causeCheck);
    QFETCH(QString, users);
    const CauseChoice choice = causeChoice(object(json), QStringLiteral("en"));
    QCOMPARE(choice.causeCheck, causeCheck);
    QCOMPARE(choice.users, users);
}

void TestContentDocuments::recommendedAppsOfExactLanguage()
{
    const QJsonObject root = object(R"({"recommendApp": {
        "en": [{"icon": "a.png", "name": "A", "url": "https://a", "pic_url": "https://p/a.png"},
               "not an object",
               {"icon": 7, "name": "B"}],
        "default": [{"icon": "d.png"}]}})");

    const QVector<RecommendedApp> apps = recommendedApps(root, QStringLiteral("en"));
    QCOMPARE(apps.size(), 3);
    QCOMPARE(apps[0].app, (RecApp { "a.png", "A", "https://a" }));
    QCOMPARE(apps[0].picUrl, QStringLiteral("https://p/a.png"));
    QCOMPARE(apps[1].app, RecApp());
    QCOMPARE(apps[2].app, (RecApp { "", "B", "" }));
    QCOMPARE(recApps(apps).size(), 3);

    // No fall-back for the applications: another language gets none.
    QVERIFY(recommendedApps(root, QStringLiteral("fr")).isEmpty());
}

void TestContentDocuments::causeTextsDefaultAndRemote()
{
    const QJsonObject root = object(R"({"uninstallCause": {
        "default": {"b": "Bee", "c": "Sea", "n": 5},
        "de": {"a": "Ah"}}})");
    const QJsonObject texts = causeTextObject(root, QStringLiteral("en"));

    // The defaults map exactly the collected keys, the remote document whatever it holds.
    const QMap<QString, QString> forKeys = textsForKeys(texts, { "a", "b" });
    QCOMPARE(forKeys, (QMap<QString, QString> { { "a", "" }, { "b", "Bee" } }));
    const QMap<QString, QString> all = allTexts(texts);
    QCOMPARE(all, (QMap<QString, QString> { { "b", "Bee" }, { "c", "Sea" }, { "n", "" } }));

    QCOMPARE(allTexts(causeTextObject(root, QStringLiteral("de"))),
        (QMap<QString, QString> { { "a", "Ah" } }));
    QVERIFY(causeTextObject(object(R"({"uninstallCause": {"de": {}}})"), "en").isEmpty());
}

void TestContentDocuments::serviceConfigReadsStringsOnly()
{
    const ServiceConfig config = serviceConfig(object(R"({"version": 3, "banner_pic": "https://b/",
        "promotion_pic": "https://p/", "recommendApp": "https://r", "uninstallChose": "https://c"})"));
    QCOMPARE(config.version, QString());
    QCOMPARE(config.bannerPic, QStringLiteral("https://b/"));
    QCOMPARE(config.promotionPic, QStringLiteral("https://p/"));
    QCOMPARE(config.recommendApp, QStringLiteral("https://r"));
    QCOMPARE(config.uninstallChose, QStringLiteral("https://c"));
    QCOMPARE(config.uninstallCause, QString());
}

void TestContentDocuments::safeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << "photo.png" << true;
    QTest::newRow("spaces and dots") << "my icon.v2.png" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("climbing") << "../../evil.sh" << false;
    QTest::newRow("sub folder") << "icons/a.png" << false;
    QTest::newRow("backslash") << "..\\evil.bat" << false;
    QTest::newRow("absolute") << "/tmp/evil.sh" << false;
    QTest::newRow("drive") << "C:evil.exe" << false;
}

void TestContentDocuments::safeFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(isSafeFileName(name), safe);
}

UNINSTALL_TEST_MAIN(TestContentDocuments)
#include "tst_contentdocuments.moc"
