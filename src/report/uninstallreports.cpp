// The wizard window's side of the feedback reports: what goes into them and which one an
// answer belongs to.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "entry/logging.h"
#include "report/feedbackreports.h"
#include "report/reportposter.h"

#include "ternlog.h"
#include "ternproductinfo.h"
#include "ternsettings.h"

#include <QCheckBox>
#include <QUrl>

void Uninstall::sendFirstReport()
{
    UninstallLog::debug(QStringLiteral("start first report!"));
    TernProductInfo* product = TernProductInfo::instance();
    FirstReport report;
    report.when = QDateTime::currentDateTime();
    report.userId = m_userId;
    report.language = TernSettings::instance()->language(product->defaultLanguage());
    report.productName = product->productName(QString());
    report.brand = product->brand();
    report.productId = product->productID();
    report.productVersion = product->productVersion(QString());
    // Each box carries its cause key as its object name.
    for (QCheckBox* box : qAsConst(optionBoxes))
        report.causes.append({ box->objectName(), box->isChecked() });
    report.note = form->causeEdit->toPlainText();

    reportTid = makeReportTid(report.when);
    firstReportData = buildFirstReport(report);
    LogL("debug", 3, "report data %s", firstReportData.constData());
    postReport(firstReportData);
}

void Uninstall::sendSecondReport()
{
    UninstallLog::debug(QStringLiteral("start second report!"));
    secondReportData = buildSecondReport(reportTid, m_userId, form->emailEdit->text());
    postReport(secondReportData);
}

void Uninstall::postReport(const QByteArray& body)
{
    reportPoster->post(QUrl(reportUrl, QUrl::TolerantMode), body);
}

void Uninstall::onReportFinished(const QByteArray& body, bool delivered)
{
    if (body == firstReportData)
        firstReportDone = delivered;
    else
        secondReportDone = delivered;
}
