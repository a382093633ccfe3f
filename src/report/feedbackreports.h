#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPair>
#include <QString>
#include <QVector>

// The two documents the wizard posts to the feedback service, serialised as compact UTF-8
// JSON with sorted keys.

struct FirstReport {
    QDateTime when;
    QString userId;
    QString language;
    QString productName;
    QString brand;
    QString productId;
    QString productVersion;
    QVector<QPair<QString, bool>> causes; // one entry per check box: its cause key, ticked or not
    QString note;
};

// The report id: the local time as "MMddyyyyhhmmss".
QString makeReportTid(const QDateTime& when);
QByteArray buildFirstReport(const FirstReport& report);
QByteArray buildSecondReport(const QString& tid, const QString& userId, const QString& email);
