#pragma once

#include "content/recapp.h"
#include "removal/removaloutcome.h"

#include "ternmainwindowbase.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QMap>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QVector>

class CheckCloseDlg;
class FileDeletionThread;
class FrmUser;
class QCheckBox;
class QLabel;
class QMovie;
class QTimer;
class ReportPoster;
class UninstallProfile;

namespace Ui {
class UnInstallWindow;
}

// The uninstall wizard: one frameless window whose page stack walks the user from loading,
// through the offers and the questionnaire, to the removal and the farewell.
class Uninstall : public TernMainWindowBase {
    Q_OBJECT
    Q_PROPERTY(QString textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(QString loadingLab READ loadingLab WRITE setLoadingLab)
    Q_PROPERTY(QString textWeight READ textWeight WRITE setTextWeight)
    Q_PROPERTY(QString lineHeight READ lineHeight WRITE setLineHeight)
    Q_PROPERTY(int fontWeight READ fontWeight WRITE setFontWeight)
    Q_PROPERTY(int fontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(QColor clrTitleText READ clrTitleText WRITE setClrTitleText)
    Q_PROPERTY(QSize pruchasePos READ pruchasePos WRITE setPruchasePos)
    Q_PROPERTY(QSize frmUserPos READ frmUserPos WRITE setFrmUserPos)
    Q_PROPERTY(int fontPurchaseSize READ fontPurchaseSize WRITE setFontPurchaseSize)
    Q_PROPERTY(int textMinWidth READ textMinWidth WRITE setTextMinWidth)
    Q_PROPERTY(int textFixWidth READ textFixWidth WRITE setTextFixWidth)

public:
    explicit Uninstall(QWidget* parent = nullptr);
    ~Uninstall() override;

    // Style properties, set by the skin's style sheet.
    QString textColor() const { return {}; }
    void setTextColor(const QString& value);
    QString loadingLab() const { return {}; }
    void setLoadingLab(const QString& value);
    QString textWeight() const { return {}; }
    void setTextWeight(const QString& value);
    QString lineHeight() const { return {}; }
    void setLineHeight(const QString& value);
    int fontWeight() const { return m_fontWeight; }
    void setFontWeight(int value);
    int fontSize() const { return m_fontSize; }
    void setFontSize(int value);
    QColor clrTitleText() const { return m_clrTitleText; }
    void setClrTitleText(const QColor& value);
    QSize pruchasePos() const { return m_pruchasePos; }
    void setPruchasePos(const QSize& value);
    QSize frmUserPos() const { return m_frmUserPos; }
    void setFrmUserPos(const QSize& value);
    int fontPurchaseSize() const { return m_fontPurchaseSize; }
    void setFontPurchaseSize(int value);
    int textMinWidth() const { return m_textMinWidth; }
    void setTextMinWidth(int value);
    int textFixWidth() const { return m_textFixWidth; }
    void setTextFixWidth(int value);

    // What the start-up, the reports and the tests read back.
    QString userId() const { return m_userId; }
    void setUserId(const QString& id) { m_userId = id; }
    bool isDragging() const { return dragging; }
    int discount() const { return m_discount; }
    QStringList textColors() const { return m_textColors; }
    QByteArray firstReport() const { return firstReportData; }
    QByteArray secondReport() const { return secondReportData; }
    UninstallProfile* contentProfile() const { return profile; }
    FileDeletionThread* deletion() const { return deletionThread; }
    // Whether the removal ran to its end, and what it did.
    bool hasRemoved() const { return m_removalEnded; }
    RemovalOutcome removal() const { return m_removal; }

    static int getFileCount(const QDir& dir);
    // The price file's discount for a language; -1 when it gives none.
    int readPrice(const QString& language) const;

protected slots:
    void changePage();
    void close();
    void updateBar(int value);
    void completeSlot();
    void showFinally();
    void onPurchaseDlgSlot();
    void onBtnContinueEnableSlot();
    void updateApp();
    void uninstallSkin(QString bannerName, QString promotionName);
    void recApp(QVector<RecApp> apps);
    void on_uninstallCause_slot(bool uninstallCuaseCheck, QVector<QString> keys,
        QMap<QString, QString> texts, QString users);
    void uninstallCause();
    void loadFinishedSlot();
    void on_changeLanguage(int index);
    void loadDownLoadRes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    int extraTitleButtons() override { return 0; }

private:
    void initData();
    void initUI();
    void makeConnections();
    void sendEvent(const QString& action, const QString& label = QString());
    void continueFrom(const char* action);
    void cancelAndClose(bool markAborted);
    void checkRunningApplication();
    void connectCheckCloseDlg();
    void sendPageEndEvent();
    // The uninstalling page's end
    void onDeletionEnded();
    void onDeletionThreadFinished();
    void showRemovalTexts();
    void onRetryTick();
    void onQuitTimer();
    void placeFloatingWidgets();
    QString pageEndLabel() const;
    QString bannerPicture() const;
    QString promotionPicture() const;
    void applyDiscountTexts();
    // Sends the buy button's two events and opens the purchase page.
    void buyFrom(const QString& button);

    // Reports
    void sendFirstReport();
    void sendSecondReport();
    void postReport(const QByteArray& body);
    void onReportFinished(const QByteArray& body, bool delivered);

    Ui::UnInstallWindow* form = nullptr;
    FileDeletionThread* deletionThread = nullptr;
    UninstallProfile* profile = nullptr;
    QMovie* loadingMovie = nullptr;
    QTimer* quitTimer = nullptr;
    QTimer* retryTimer = nullptr;
    CheckCloseDlg* checkCloseDlg = nullptr;
    ReportPoster* reportPoster = nullptr;
    QDir appDir;
    QString reportUrl;
    QString reportTid;
    QString m_userId;
    bool firstReportDone = false;
    bool secondReportDone = false;
    QByteArray firstReportData;
    QByteArray secondReportData;
    bool testMode = false;
    bool dragging = false;
    RemovalOutcome m_removal;
    bool m_removalEnded = false;

    // Reason page
    QVector<QCheckBox*> optionBoxes;
    bool causeCheck = false;
    QVector<QString> causeKeys;
    QMap<QString, QString> causeTexts;
    QString usersText;
    QVector<RecApp> recApps;

    // Style properties and what initUI derives from them
    QStringList m_textColors;
    QStringList m_textWeights;
    QString m_lineHeight;
    QString m_loadingPath;
    int m_fontWeight = 0;
    int m_fontSize = 12;
    QColor m_clrTitleText;
    QSize m_pruchasePos { 0, 0 };
    QSize m_frmUserPos { -1, -1 };
    int m_fontPurchaseSize = 20;
    int m_textMinWidth = 0;
    int m_textFixWidth = 0;
    int m_discount = 20;
    QPointer<QLabel> m_sticker;
    QPointer<FrmUser> m_frmUser;
};
