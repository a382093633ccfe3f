// The feature frames show the product's brand texts for the current language when the file gives
// exactly as many as they have lines, else their own, translated; both follow a language change.

#include "testenvironment.h"

#include "widgets/frminfo.h"
#include "widgets/frminfo2.h"
#include "widgets/frmuser.h"

#include "ternresourcemgr.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTranslator>
#include <QtTest>

namespace {

const QStringList kOwnInfo { "1000+ Formats Supported", "120× Faster Conversion",
    "15+ Years History, 50 Million + Users" };
const QStringList kOwnUser { "50 Million + ", "Users" };

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

QStringList texts(const QWidget& frame)
{
    QStringList result;
    for (const char* name : { "lblText1", "lblText2", "lblText3", "label", "label_3" }) {
        if (const auto* label = frame.findChild<QLabel*>(QLatin1String(name)))
            result.append(label->text());
    }
    return result;
}

QString brandFile()
{
    return TestEnv::installDir() + QStringLiteral("/brand_recommend.json");
}

} // namespace

class TestFeatureFrames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init() { TestEnv::clearLog(); }

    void cleanup()
    {
        QFile::remove(brandFile());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void brandTexts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("info");
        QTest::addColumn<QStringList>("user");
        QTest::addColumn<bool>("logged");
        const QByteArray fit = R"({"uninstall_page0": {"en": ["A", "B", "C"]},
                                   "uninstall_page1": {"en": ["10M ", "fans"]}})";
        QTest::newRow("counts fit")
            << fit << QStringList { "A", "B", "C" } << QStringList { "10M ", "fans" } << false;
        QTest::newRow("one page only")
            << QByteArray(R"({"uninstall_page0": {"en": ["A", "B", "C"]}})")
            << QStringList { "A", "B", "C" } << kOwnUser << false;
        QTest::newRow("a number reads as empty text")
            << QByteArray(R"({"uninstall_page0": {"en": ["A", 5, "C"]}})")
            << QStringList { "A", "", "C" } << kOwnUser << false;
        QTest::newRow("one short") << QByteArray(
            R"({"uninstall_page0": {"en": ["A", "B"]}, "uninstall_page1": {"en": ["10M "]}})")
                                   << kOwnInfo << kOwnUser << false;
        QTest::newRow("one too many") << QByteArray(
            R"({"uninstall_page0": {"en": ["A", "B", "C", "D"]}, "uninstall_page1": {"en": ["1", "2", "3"]}})")
                                      << kOwnInfo << kOwnUser << false;
        QTest::newRow("another language only")
            << QByteArray(R"({"uninstall_page0": {"de": ["A", "B", "C"]}})") << kOwnInfo << kOwnUser
            << false;
        QTest::newRow("malformed file")
            << QByteArray(R"({"uninstall_page0": {"en": ["A")") << kOwnInfo << kOwnUser << true;
        QTest::newRow("no file") << QByteArray() << kOwnInfo << kOwnUser << true;
    }

    void brandTexts()
    {
        QFETCH(QByteArray, file);
        if (!file.isNull())
            QVERIFY(TestEnv::writeFile(brandFile(), file));
        FrmInfo info(nullptr);
        FrmUser user(nullptr);
        QTEST(texts(info), "info");
        QTEST(texts(user), "user");
        QTEST(TestEnv::logMessages(QStringLiteral("read brand_recommend.json"))
                  .contains(QStringLiteral("parseJsonErr.error")),
            "logged");
    }

    void languageChangeRetranslatesThenAppliesBrandTexts()
    {
        // Brand texts for the info frame in English only, for the user frame in German only.
        QVERIFY(TestEnv::writeFile(brandFile(),
            R"({"uninstall_page0": {"en": ["A", "B", "C"]},
                "uninstall_page1": {"de": ["10 Mio. ", "Fans"]}})"));
        FrmInfo info(nullptr);
        FrmUser user(nullptr);
        FrmInfo2 update(nullptr);
        QCOMPARE(texts(info), (QStringList { "A", "B", "C" }));
        QCOMPARE(texts(user), kOwnUser);

        GermanTranslator german;
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("de"));
        QCoreApplication::installTranslator(&german);
        QTRY_COMPARE(texts(info).first(), QStringLiteral("Über 1000 Formate"));
        QTRY_COMPARE(texts(user), (QStringList { "10 Mio. ", "Fans" }));

        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QCoreApplication::removeTranslator(&german);
        QTRY_COMPARE(texts(info), (QStringList { "A", "B", "C" }));
        QTRY_COMPARE(texts(user), kOwnUser);
        QCOMPARE(texts(update).first(), QStringLiteral("More Powerful Features"));
    }
};

UNINSTALL_TEST_MAIN(TestFeatureFrames)
#include "tst_featureframes.moc"
