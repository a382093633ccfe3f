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
        // Single digits everywhere, so that every field shows its padding.
        report.when = QDateTime(QDate(2025, 3, 7), QTime(9, 4, 1));
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
              R"("productVersion":"3.2.0","tid":"03072025090401","time":"2025-03-07 09:04:01",)"
              R"("uninstallCause":)"
            + causesJson + R"(,"userId":"{0f0e0d0c-0b0a-0908-0706-050403020100}"})";
        QCOMPARE(buildFirstReport(report), expected);
    }

    // With an address typed it shows in the removal run (tst_reportdelivery).
    void secondReportWithoutAnAddress()
    {
        QCOMPARE(buildSecondReport(QStringLiteral("11232024170509"), kUser, QString()),
            QByteArray(
                R"({"tid":"11232024170509","userEmail":"","userId":"{0f0e0d0c-0b0a-0908-0706-050403020100}"})"));
    }
};

UNINSTALL_TEST_MAIN(TestFeedbackReports)
#include "tst_feedbackreports.moc"
