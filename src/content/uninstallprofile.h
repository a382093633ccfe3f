#pragma once

#include "content/recapp.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVector>

class QNetworkAccessManager;
class QNetworkReply;
class QThread;
class QTimer;
class UrlHandler;

// Delivers the wizard's promotional and questionnaire content: from the remote service when it
// answers in time, otherwise from the default documents shipped with the product.
class UninstallProfile : public QObject {
    Q_OBJECT
public:
    explicit UninstallProfile(QObject* parent = nullptr);
    ~UninstallProfile() override;

signals:
    void recAppEmit(QVector<RecApp> apps);
    void uninstallCauseEmit(bool causeCheck, QVector<QString> keys, QMap<QString, QString> texts, QString users);
    void downLoadResEmit();

private slots:
    void onReplaryFinished();
    void readConfigTimeout();

private:
    void loadDefaultRes();
    void parseUninstallConfig();
    void parseDefaultJson();

    QNetworkAccessManager* m_manager = nullptr;
    QNetworkReply* m_pServiceReply = nullptr;
    QTimer* m_timer = nullptr;
    QThread* m_thread = nullptr;
    QByteArray m_serviceData;
    QString m_language;
    bool m_causeCheck = false;
    QString m_users;
    QVector<QString> m_causeKeys;
    UrlHandler* m_worker = nullptr;
};
