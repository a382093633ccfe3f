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

// Not a raw string: moc reads the "//" of a raw string spread over lines as a comment.
const char* const kApps
    = "{\"recommendApp\": {\"default\": [{\"icon\": \"d.png\"}], \"en\": ["
      "{\"icon\": \"a.png\", \"name\": \"A\", \"url\": \"https://a\", "
      "\"pic_url\": \"https://p/a.png\"}, \"not an object\", {\"icon\": 7, \"name\": \"B\"}]}}";
const char* const kTexts
    = R"({"uninstallCause": {"default": {"b": "Bee", "c": "Sea", "n": 5}, "de": {"a": "Ah"}}})";

} // namespace

class TestContentDocuments : public QObject {
    Q_OBJECT

private slots:
    void dispatch_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<Kind>("kind");

        QTest::newRow("apps") << QByteArray(R"({"recommendApp": {}})") << Kind::RecommendedApps;
        QTest::newRow("choice") << QByteArray(R"({"uninstallChose": {}})") << Kind::CauseChoice;
        QTest::newRow("texts") << QByteArray(R"({"uninstallCause": {}})") << Kind::CauseTexts;
        QTest::newRow("apps win over choice")
            << QByteArray(R"({"uninstallChose": {"en": ["a"]}, "recommendApp": {}})")
            << Kind::RecommendedApps;
        QTest::newRow("choice wins over texts")
            << QByteArray(R"({"uninstallCause": {}, "uninstallChose": {}})") << Kind::CauseChoice;
        QTest::newRow("section that is no object is skipped")
            << QByteArray(R"({"recommendApp": [], "uninstallCause": {}})") << Kind::CauseTexts;
        QTest::newRow("nothing known") << QByteArray(R"({"users": "1"})") << Kind::None;
        QTest::newRow("array document") << QByteArray(R"([{"recommendApp": {}}])") << Kind::None;
    }

    void dispatch()
    {
        QFETCH(QByteArray, json);
        QJsonDocument document;
        QString failure;
        QVERIFY(parseDocument(json, &document, &failure));
        QTEST(kindOf(document.object()), "kind");
    }

    void parseFailureLine()
    {
        QJsonDocument document;
        QString failure;
        QVERIFY(!parseDocument("[" + QByteArray(299, ' ') + "x", &document, &failure));
        QCOMPARE(failure, QStringLiteral("JSON parsing error:illegal number\nError offset : 300"));
    }

    void causeChoice_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("language"); // the product's default language is "en"
        QTest::addColumn<QVector<QString>>("keys");
        QTest::addColumn<bool>("causeCheck");
        QTest::addColumn<QString>("users");

        const QByteArray both
            = R"({"uninstallChose": {"de": ["x", "y"], "default": ["a"]}, "uninstallCuaseCheck": true, "users": "9"})";
        QTest::newRow("own language")
            << both << "de" << QVector<QString> { "x", "y" } << true << "9";
        QTest::newRow("default for another")
            << both << "fr" << QVector<QString> { "a" } << true << "9";
        QTest::newRow("language code is exact")
            << both << "DE" << QVector<QString> { "a" } << true << "9";
        QTest::newRow("product language without a default")
            << QByteArray(R"({"uninstallChose": {"en": ["e"]}})") << "it"
            << QVector<QString> { "e" } << false << "";
        QTest::newRow("none of the three") << QByteArray(R"({"uninstallChose": {"de": ["x"]}})")
                                           << "fr" << QVector<QString>() << false << "";
        QTest::newRow("non-string keys read empty")
            << QByteArray(R"({"uninstallChose": {"default": ["a", 3, null]}})") << "en"
            << QVector<QString> { "a", "", "" } << false << "";
        QTest::newRow("only booleans and strings count")
            << QByteArray(R"({"uninstallChose": {}, "uninstallCuaseCheck": "true", "users": 5})")
            << "en" << QVector<QString>() << false << "";
        QTest::newRow("nested is not read")
            << QByteArray(R"({"uninstallChose": {"uninstallCuaseCheck": true, "users": "9"}})")
            << "en" << QVector<QString>() << false << "";
    }

    void causeChoice()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, language);
        const CauseChoice choice
            = ContentDocuments::causeChoice(object(json), { language, QStringLiteral("en") });
        QTEST(choice.keys, "keys");
        QTEST(choice.causeCheck, "causeCheck");
        QTEST(choice.users, "users");
    }

    void recommendedAppFields()
    {
        const QVector<RecommendedApp> apps = recommendedApps(object(kApps), { "en", "en" });
        QCOMPARE(apps.size(), 3);
        QCOMPARE(apps[0].app, (RecApp { "a.png", "A", "https://a" }));
        QCOMPARE(apps[0].picUrl, QStringLiteral("https://p/a.png"));
        QCOMPARE(apps[1].app, RecApp());
        QCOMPARE(apps[2].app, (RecApp { "", "B", "" }));
    }

    void recommendedAppsOfLanguage_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("language"); // the product's default language is "en"
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstIcon");

        QByteArrayList icons;
        for (int i = 0; i < 30; ++i)
            icons.append("{\"icon\": \"" + QByteArray::number(i) + "\"}");
        const QByteArray many = "{\"recommendApp\": {\"en\": [" + icons.join(',') + "]}}";
        const QByteArray english = "{\"recommendApp\": {\"en\": [{\"icon\": \"e.png\"}]}}";
        QTest::newRow("own language") << QByteArray(kApps) << "en" << 3 << "a.png";
        QTest::newRow("default entry") << QByteArray(kApps) << "it" << 1 << "d.png";
        QTest::newRow("product language") << english << "it" << 1 << "e.png";
        QTest::newRow("at most 24") << many << "en" << kMaxRecommendedApps << "0";
    }

    void recommendedAppsOfLanguage()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, language);
        const QVector<RecommendedApp> apps
            = recommendedApps(object(json), { language, QStringLiteral("en") });
        QTEST(int(apps.size()), "count");
        QTEST(apps.first().app.icon, "firstIcon");
    }

    void causeTextsDefaultAndRemote()
    {
        const QJsonObject root = object(kTexts);
        const QJsonObject texts = causeTextObject(root, { "en", "en" });

        // The defaults map exactly the collected keys, the remote document whatever it holds.
        QCOMPARE(textsForKeys(texts, { "a", "b" }),
            (QMap<QString, QString> { { "a", "" }, { "b", "Bee" } }));
        QCOMPARE(allTexts(texts),
            (QMap<QString, QString> { { "b", "Bee" }, { "c", "Sea" }, { "n", "" } }));
        QCOMPARE(allTexts(causeTextObject(root, { "de", "en" })),
            (QMap<QString, QString> { { "a", "Ah" } }));
    }

    // Climbing, sub-folder, absolute and empty names are refused on the download path too.
    void safeFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << "my icon.v2.png" << true;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("sub folder") << "icons/a.png" << false;
        QTest::newRow("backslash") << "..\\evil.bat" << false;
        QTest::newRow("drive") << "C:evil.exe" << false;
    }

    void safeFileNames()
    {
        QFETCH(QString, name);
        QTEST(isSafeFileName(name), "safe");
    }
};

UNINSTALL_TEST_MAIN(TestContentDocuments)
#include "tst_contentdocuments.moc"
