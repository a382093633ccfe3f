#include "testenvironment.h"

#include "content/brandrecommend.h"
#include "widgets/frminfo.h"
#include "widgets/frminfo2.h"
#include "widgets/frmuser.h"

#include "ternlog.h"
#include "ternresourcemgr.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QTranslator>
#include <QtTest>

namespace {

const QStringList builtInInfo { "1000+ Formats Supported", "120× Faster Conversion",
    "15+ Years History, 50 Million + Users" };
const QStringList builtInUser { "50 Million + ", "Users" };

// A few words of German, enough to see which texts were translated again.
class GermanTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        const QString key = QLatin1String(context) + '|' + QString::fromUtf8(source);
        if (key == QLatin1String("FrmInfo|1000+ Formats Supported"))
            return QStringLiteral("Über 1000 Formate");
        return key == QLatin1String("FrmUser|Users") ? QStringLiteral("Nutzer") : QString();
    }
};

QStringList texts(const QWidget& frame, const QStringList& labelNames)
{
    QStringList result;
    for (const QString& name : labelNames)
        result.append(frame.findChild<QLabel*>(name)->text());
    return result;
}

QStringList infoTexts(const FrmInfo& frame)
{
    return texts(frame, { "lblText1", "lblText2", "lblText3" });
}

QStringList userTexts(const FrmUser& frame)
{
    return texts(frame, { "label", "label_3" });
}

QString brandFile()
{
    return TestEnv::installDir() + QStringLiteral("/brand_recommend.json");
}

QByteArray brandPages(const QJsonArray& page0, const QJsonArray& page1)
{
    return QJsonDocument(QJsonObject { { "uninstall_page0", QJsonObject { { "en", page0 } } },
                             { "uninstall_page1", QJsonObject { { "en", page1 } } } })
        .toJson();
}

} // namespace

class TestFeatureFrames : public QObject {
    Q_OBJECT

    std::unique_ptr<GermanTranslator> german;

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init() { TestEnv::clearLog(); }

    void cleanup()
    {
        if (german)
            QCoreApplication::removeTranslator(german.get());
        german.reset();
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QFile::remove(brandFile());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void brandTexts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("pageKey");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("logged");

        const QByteArray three = R"({"uninstall_page0": {"en": ["A", "B", "C"]}})";
        QTest::newRow("strings of the language")
            << three << "uninstall_page0" << QStringList { "A", "B", "C" } << false;
        QTest::newRow("page not in the file")
            << three << "uninstall_page1" << QStringList() << false;
        QTest::newRow("a number reads as empty text")
            << QByteArray(R"({"uninstall_page0": {"en": ["A", 5, "C"]}})") << "uninstall_page0"
            << QStringList { "A", "", "C" } << false;
        QTest::newRow("another language only")
            << QByteArray(R"({"uninstall_page0": {"de": ["A", "B", "C"]}})") << "uninstall_page0"
            << QStringList() << false;
        QTest::newRow("malformed file") << QByteArray(R"({"uninstall_page0": {"en": ["A")")
                                        << "uninstall_page0" << QStringList() << true;
        QTest::newRow("no file") << QByteArray() << "uninstall_page0" << QStringList() << true;
    }

    void brandTexts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, pageKey);
        QFETCH(QStringList, expected);
        QFETCH(bool, logged);

        if (!file.isNull())
            QVERIFY(TestEnv::writeFile(brandFile(), file));
        QCOMPARE(brandRecommendTexts(pageKey), expected);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("read brand_recommend.json"))
                     .contains(QStringLiteral("parseJsonErr.error")),
            logged);

        // Read again on every call.
        QVERIFY(TestEnv::writeFile(brandFile(), brandPages({ "1", "2", "3" }, { "4" })));
        QCOMPARE(brandRecommendTexts("uninstall_page1"), QStringList { "4" });
    }

    void framesTakeBrandTextsWhenCountFits_data()
    {
        QTest::addColumn<QJsonArray>("page0");
        QTest::addColumn<QJsonArray>("page1");
        QTest::addColumn<QStringList>("info");
        QTest::addColumn<QStringList>("user");

        QTest::newRow("counts fit")
            << QJsonArray { "A", "B", "C" } << QJsonArray { "10M ", "fans" }
            << QStringList { "A", "B", "C" } << QStringList { "10M ", "fans" };
        QTest::newRow("one short")
            << QJsonArray { "A", "B" } << QJsonArray { "10M " } << builtInInfo << builtInUser;
        QTest::newRow("one too many")
            << QJsonArray { "A", "B", "C", "D" } << QJsonArray { "10M ", "fans", "!" }
            << builtInInfo << builtInUser;
    }

    void framesTakeBrandTextsWhenCountFits()
    {
        QFETCH(QJsonArray, page0);
        QFETCH(QJsonArray, page1);
        QVERIFY(TestEnv::writeFile(brandFile(), brandPages(page0, page1)));
        FrmInfo infoFrame(nullptr);
        FrmUser userFrame(nullptr);
        QTEST(infoTexts(infoFrame), "info");
        QTEST(userTexts(userFrame), "user");
    }

    void languageChangeRetranslatesThenAppliesBrandTexts()
    {
        // Brand texts for the info frame in English only, for the user frame in German only.
        QVERIFY(TestEnv::writeFile(brandFile(),
            QJsonDocument(
                QJsonObject {
                    { "uninstall_page0", QJsonObject { { "en", QJsonArray { "A", "B", "C" } } } },
                    { "uninstall_page1",
                        QJsonObject { { "de", QJsonArray { "10 Mio. ", "Fans" } } } } })
                .toJson()));
        FrmInfo info(nullptr);
        FrmUser user(nullptr);
        FrmInfo2 update(nullptr);
        QCOMPARE(infoTexts(info), (QStringList { "A", "B", "C" }));
        QCOMPARE(userTexts(user), builtInUser);

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("de"));
        german = std::make_unique<GermanTranslator>();
        QCoreApplication::installTranslator(german.get());
        QTRY_COMPARE(infoTexts(info).first(), QStringLiteral("Über 1000 Formate"));
        QTRY_COMPARE(userTexts(user), (QStringList { "10 Mio. ", "Fans" }));

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QCoreApplication::removeTranslator(german.get());
        german.reset();
        QTRY_COMPARE(infoTexts(info), (QStringList { "A", "B", "C" }));
        QTRY_COMPARE(userTexts(user), builtInUser);
        QCOMPARE(update.findChild<QLabel*>("lblText1")->text(),
            QStringLiteral("More Powerful Features"));
    }
};

UNINSTALL_TEST_MAIN(TestFeatureFrames)
#include "tst_featureframes.moc"
