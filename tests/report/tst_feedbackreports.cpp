// The two documents the feedback service receives, byte for byte: compact UTF-8 JSON with
// the members in key order.

#include "testenvironment.h"

#include "report/feedbackreports.h"

#include <QtTest>

namespace {

const QString kUser = QStringLiteral("{0f0e0d0c-0b0a-0908-0706-050403020100}");

QVector<QPair<QString, bool>> causes(const QStringList& names, const QList<bool>& ticked)
{
    QVector<QPair<QString, bool>> result;
    for (int i = 0; i < names.size(); ++i)
        result.append({ names.at(i), ticked.at(i) });
    return result;
}

} // namespace

class TestFeedbackReports : public QObject {
    Q_OBJECT

private slots:
    void reportId_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("tid");
        QTest::newRow("afternoon")
            << QDateTime(QDate(2024, 11, 23), QTime(17, 5, 9)) << QStringLiteral("11232024170509");
        QTest::newRow("single digits")
            << QDateTime(QDate(2025, 3, 7), QTime(9, 4, 1)) << QStringLiteral("03072025090401");
        QTest::newRow("midnight") << QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0))
                                  << QStringLiteral("01012025000000");
    }

    void reportId()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, tid);
        QCOMPARE(makeReportTid(when), tid);
    }

    void firstReport_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QByteArray>("causesJson");

        const QStringList keys { QStringLiteral("slow"), QStringLiteral("crash"),
            QStringLiteral("price"), QStringLiteral("features"), QStringLiteral("other") };
        QTest::newRow("nothing ticked, no note")
            << keys << QList<bool> { false, false, false, false, false } << QString()
            << QByteArray(
                   R"([{"slow":false},{"crash":false},{"price":false},{"features":false},{"other":false},""])");
        QTest::newRow("two ticked and a note")
            << keys << QList<bool> { false, true, false, false, true }
            << QStringLiteral("Too many windows")
            << QByteArray(
                   R"([{"slow":false},{"crash":true},{"price":false},{"features":false},{"other":true},"Too many windows"])");
        QTest::newRow("boxes without a cause keep their form names")
            << QStringList { QStringLiteral("slow"), QStringLiteral("crash"),
                   QStringLiteral("option_3"), QStringLiteral("option_4"),
                   QStringLiteral("option_5") }
            << QList<bool> { true, false, false, false, false } << QString()
            << QByteArray(
                   R"([{"slow":true},{"crash":false},{"option_3":false},{"option_4":false},{"option_5":false},""])");
        QTest::newRow("note with quotes, lines and accents")
            << keys << QList<bool> { true, false, false, false, false }
            << QStringLiteral("Zu \"langsam\"\nund teuer \u00e9\u4e2d")
            << QByteArray("[{\"slow\":true},{\"crash\":false},{\"price\":false},{\"features\":"
                          "false},{\"other\":false},"
                          "\"Zu \\\"langsam\\\"\\nund teuer \xc3\xa9\xe4\xb8\xad\"]");
    }

    void firstReport()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QList<bool>, ticked);
        QFETCH(QString, note);
        QFETCH(QByteArray, causesJson);

        FirstReport report;
        report.when = QDateTime(QDate(2024, 11, 23), QTime(17, 5, 9));
        report.userId = kUser;
        report.language = QStringLiteral("de");
        report.productName = QStringLiteral("Tern Converter");
        report.brand = QStringLiteral("tern");
        report.productId = QStringLiteral("1024");
        report.productVersion = QStringLiteral("3.2.0");
        report.causes = causes(boxes, ticked);
        report.note = note;

        const QByteArray expected
            = R"({"brand":"tern","language":"de","productId":"1024","productName":"Tern Converter",)"
              R"("productVersion":"3.2.0","tid":"11232024170509","time":"2024-11-23 17:05:09",)"
              R"("uninstallCause":)"
            + causesJson + R"(,"userId":"{0f0e0d0c-0b0a-0908-0706-050403020100}"})";
        QCOMPARE(buildFirstReport(report), expected);
    }

    void secondReport_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("address")
            << QStringLiteral("ana@example.com")
            << QByteArray(
                   R"({"tid":"11232024170509","userEmail":"ana@example.com","userId":"{0f0e0d0c-0b0a-0908-0706-050403020100}"})");
        QTest::newRow("nothing typed")
            << QString()
            << QByteArray(
                   R"({"tid":"11232024170509","userEmail":"","userId":"{0f0e0d0c-0b0a-0908-0706-050403020100}"})");
    }

    void secondReport()
    {
        QFETCH(QString, email);
        QFETCH(QByteArray, expected);
        QCOMPARE(buildSecondReport(QStringLiteral("11232024170509"), kUser, email), expected);
    }
};

UNINSTALL_TEST_MAIN(TestFeedbackReports)
#include "tst_feedbackreports.moc"
