#pragma once

// What the wizard window's form must hold: its widget tree, its texts and the language codes.

#include <QStringList>

namespace FormData {

struct Node {
    const char* name;
    const char* className;
    const char* parent;
};

// Every widget the form creates, with its parent widget.
inline constexpr Node tree[] = {
    { "ternMainWindowClient", "QFrame", "UnInstallWindow" },
    { "frameTitle", "QFrame", "ternMainWindowClient" },
    { "titleLogo", "cusIconLabel", "frameTitle" },
    { "titleLab", "QLabel", "frameTitle" },
    { "btnClose", "QToolButton", "frameTitle" },
    { "frameEntry", "QFrame", "ternMainWindowClient" },
    { "processPage", "QStackedWidget", "frameEntry" },
    { "loadingPage", "QWidget", "processPage" },
    { "frameloading", "QFrame", "loadingPage" },
    { "loadingLab", "QLabel", "frameloading" },
    { "lblLoadingPng", "LoadingLabel", "frameloading" },
    { "purchasePage", "QWidget", "processPage" },
    { "purchaseBackground", "QFrame", "purchasePage" },
    { "framePurchaseLab", "QFrame", "purchaseBackground" },
    { "purchaseLab", "QLabel", "framePurchaseLab" },
    { "frame", "QFrame", "purchaseBackground" },
    { "framePurchase", "QFrame", "frame" },
    { "purchaseImg", "QPushButton", "framePurchase" },
    { "purchaseBtn1", "QPushButton", "framePurchase" },
    { "frmPurchaseBtn", "QFrame", "framePurchase" },
    { "purchaseBtn", "QLabel", "frmPurchaseBtn" },
    { "framePurchaseUrl", "QFrame", "purchaseBackground" },
    { "frmInfo", "FrmInfo", "framePurchaseUrl" },
    { "frameButtom_1", "QFrame", "purchaseBackground" },
    { "btnContinue_1", "QPushButton", "frameButtom_1" },
    { "btnCancel_1", "QPushButton", "frameButtom_1" },
    { "causePage_1", "QWidget", "processPage" },
    { "frameCauseTip", "QFrame", "causePage_1" },
    { "discountBg", "QFrame", "frameCauseTip" },
    { "btnDiscount", "QPushButton", "discountBg" },
    { "causePage_2", "QStackedWidget", "causePage_1" },
    { "causePage", "QWidget", "causePage_2" },
    { "CauseLeftBg", "QFrame", "causePage" },
    { "framHintImg", "QFrame", "CauseLeftBg" },
    { "hintImg", "QLabel", "framHintImg" },
    { "frameHintLab", "QFrame", "CauseLeftBg" },
    { "hintLab", "QLabel", "frameHintLab" },
    { "frameMiddle", "QFrame", "causePage" },
    { "causeRightBg", "QFrame", "causePage" },
    { "frameCauseTitle", "QFrame", "causeRightBg" },
    { "causeTitle", "QLabel", "frameCauseTitle" },
    { "frameOption", "QFrame", "causeRightBg" },
    { "optionFrame", "QFrame", "frameOption" },
    { "frameOption_1", "QFrame", "optionFrame" },
    { "option_1", "QCheckBox", "frameOption_1" },
    { "optionLab_1", "QLabel", "frameOption_1" },
    { "frameOption_2", "QFrame", "optionFrame" },
    { "option_2", "QCheckBox", "frameOption_2" },
    { "optionLab_2", "QLabel", "frameOption_2" },
    { "frameOption_3", "QFrame", "optionFrame" },
    { "option_3", "QCheckBox", "frameOption_3" },
    { "optionLab_3", "QLabel", "frameOption_3" },
    { "frameOption_4", "QFrame", "optionFrame" },
    { "option_4", "QCheckBox", "frameOption_4" },
    { "optionLab_4", "QLabel", "frameOption_4" },
    { "frameOption_5", "QFrame", "optionFrame" },
    { "option_5", "QCheckBox", "frameOption_5" },
    { "optionLab_5", "QLabel", "frameOption_5" },
    { "frameCauseEdit", "QFrame", "causeRightBg" },
    { "causeEdit", "CustomTextEdit", "frameCauseEdit" },
    { "frameButtom_2", "QFrame", "causeRightBg" },
    { "btnContinue_2", "QPushButton", "frameButtom_2" },
    { "btnCancel_2", "QPushButton", "frameButtom_2" },
    { "updatePage", "QWidget", "causePage_2" },
    { "updateLeftBg", "QFrame", "updatePage" },
    { "frameUpdateImg", "QFrame", "updateLeftBg" },
    { "updateImg", "QLabel", "frameUpdateImg" },
    { "frameUpdateLab_2", "QFrame", "updateLeftBg" },
    { "updateLab", "QLabel", "frameUpdateLab_2" },
    { "frameInfo", "QFrame", "updateLeftBg" },
    { "frmUpdateInfo", "FrmInfo2", "frameInfo" },
    { "updateRightBg", "QFrame", "updatePage" },
    { "horizontalFrame", "QFrame", "updateRightBg" },
    { "updateTipImg", "QLabel", "horizontalFrame" },
    { "horizontalFrame_2", "QFrame", "updateRightBg" },
    { "updateTipLab", "QLabel", "horizontalFrame_2" },
    { "frameButtom_3", "QFrame", "updateRightBg" },
    { "btnContinue_3", "QPushButton", "frameButtom_3" },
    { "btnUpdate", "QPushButton", "frameButtom_3" },
    { "btnCancel_3", "QPushButton", "frameButtom_3" },
    { "uninstallPag", "QWidget", "processPage" },
    { "processFrame", "QFrame", "uninstallPag" },
    { "processBackgrround", "QFrame", "processFrame" },
    { "thinkBg", "QFrame", "processBackgrround" },
    { "lblUninstalling", "QLabel", "thinkBg" },
    { "thinkLab", "QLabel", "thinkBg" },
    { "lblUninstallEnd", "QLabel", "thinkBg" },
    { "frameRecTitle", "QFrame", "processBackgrround" },
    { "label", "QLabel", "frameRecTitle" },
    { "recWidget", "ClickedStackedWidget", "processBackgrround" },
    { "processBarTitle", "QFrame", "processBackgrround" },
    { "label_2", "QLabel", "processBarTitle" },
    { "frameBar", "QFrame", "processBackgrround" },
    { "progressBar", "QProgressBar", "frameBar" },
    { "emailTitle", "QFrame", "processBackgrround" },
    { "emailLable", "QLabel", "emailTitle" },
    { "frameEmail", "QFrame", "processBackgrround" },
    { "label_3", "QLabel", "frameEmail" },
    { "emailEdit", "QLineEdit", "frameEmail" },
    { "frameButtom_4", "QFrame", "uninstallPag" },
    { "btnComplete", "QPushButton", "frameButtom_4" },
    { "changeLangFrame", "QFrame", "ternMainWindowClient" },
    { "comboBox", "QComboBox", "changeLangFrame" },
};

// The layout of every container of the form: 'V'ertical or 'H'orizontal, its items in order
// (spacers by kind, "centred" for items added with AlignCenter), the layout's name where the
// skin or the window relies on it, its spacing and its top margin (all other margins are 0).
struct LayoutSpec {
    const char* container;
    char direction;
    const char* items;
    const char* name = "";
    int spacing = 0;
    int topMargin = 0;
};

inline constexpr LayoutSpec layouts[] = {
    { "UnInstallWindow", 'V', "ternMainWindowClient" },
    { "ternMainWindowClient", 'V', "frameTitle, frameEntry, changeLangFrame" },
    { "frameTitle", 'H', "titleLogo, titleLab, hspacer, btnClose", "HLayoutTtile" },
    { "frameEntry", 'V', "processPage" },
    { "loadingPage", 'V', "frameloading centred" },
    { "frameloading", 'H', "hspacer, loadingLab, lblLoadingPng centred, hspacer" },
    { "purchasePage", 'V', "purchaseBackground" },
    { "purchaseBackground", 'V',
        "framePurchaseLab, frame, framePurchaseUrl centred, vspacer, frameButtom_1" },
    { "framePurchaseLab", 'H', "purchaseLab", "purchaseFrameLab", 0, 10 },
    { "frame", 'H', "hspacer, framePurchase centred, hspacer" },
    { "framePurchase", 'V', "purchaseImg centred, purchaseBtn1 centred, frmPurchaseBtn centred" },
    { "frmPurchaseBtn", 'V', "purchaseBtn centred" },
    { "framePurchaseUrl", 'H', "hspacer, frmInfo centred, hspacer" },
    { "frameButtom_1", 'H', "hspacer, btnContinue_1, btnCancel_1", "", 20 },
    { "causePage_1", 'V', "frameCauseTip, causePage_2" },
    { "frameCauseTip", 'H', "discountBg" },
    { "discountBg", 'H', "hspacer, btnDiscount" },
    { "causePage", 'H', "CauseLeftBg, frameMiddle, causeRightBg" },
    { "CauseLeftBg", 'V', "framHintImg, frameHintLab, vspacer" },
    { "framHintImg", 'H', "hspacer, hintImg, hspacer" },
    { "frameHintLab", 'H', "hspacer, hintLab, hspacer" },
    { "causeRightBg", 'V', "frameCauseTitle, frameOption, frameCauseEdit, vspacer, frameButtom_2" },
    { "frameCauseTitle", 'H', "causeTitle, hspacer" },
    { "frameOption", 'H', "optionFrame, hspacer" },
    { "optionFrame", 'V',
        "frameOption_1, frameOption_2, frameOption_3, frameOption_4, frameOption_5" },
    { "frameOption_1", 'H', "option_1, optionLab_1" },
    { "frameOption_2", 'H', "option_2, optionLab_2" },
    { "frameOption_3", 'H', "option_3, optionLab_3" },
    { "frameOption_4", 'H', "option_4, optionLab_4" },
    { "frameOption_5", 'H', "option_5, optionLab_5" },
    { "frameCauseEdit", 'H', "causeEdit, hspacer" },
    { "frameButtom_2", 'H', "hspacer, btnContinue_2, btnCancel_2", "", 20 },
    { "updatePage", 'H', "updateLeftBg, updateRightBg" },
    { "updateLeftBg", 'V', "frameUpdateImg, frameUpdateLab_2, frameInfo, vspacer" },
    { "frameUpdateImg", 'H', "hspacer, updateImg, hspacer" },
    { "frameUpdateLab_2", 'H', "hspacer, updateLab, hspacer", "frameUpdateLab" },
    { "frameInfo", 'H', "hspacer, frmUpdateInfo, hspacer" },
    { "updateRightBg", 'V', "horizontalFrame, horizontalFrame_2, vspacer, frameButtom_3" },
    { "horizontalFrame", 'H', "hspacer, updateTipImg, hspacer" },
    { "horizontalFrame_2", 'H', "hspacer, updateTipLab, hspacer" },
    { "frameButtom_3", 'H', "hspacer, btnContinue_3, btnUpdate, btnCancel_3", "", 20 },
    { "uninstallPag", 'V', "processFrame, vspacer, frameButtom_4" },
    { "processFrame", 'H', "hspacer, processBackgrround, hspacer" },
    { "processBackgrround", 'V',
        "thinkBg, frameRecTitle, recWidget, processBarTitle, frameBar, emailTitle, frameEmail" },
    { "thinkBg", 'H', "hspacer 50x0, lblUninstalling, thinkLab, lblUninstallEnd, hspacer 50x0",
        "frameProcessBg" },
    { "frameRecTitle", 'H', "label, hspacer", "processTitle" },
    { "processBarTitle", 'H', "label_2, hspacer", "processbarTitle" },
    { "frameBar", 'H', "progressBar" },
    { "emailTitle", 'H', "emailLable, hspacer" },
    { "frameEmail", 'H', "label_3, emailEdit, hspacer" },
    { "frameButtom_4", 'H', "hspacer, btnComplete" },
    { "changeLangFrame", 'H', "hspacer, comboBox, hspacer" },
};

struct FormText {
    const char* object;
    const char* property;
    const char* source;
};

// The form's texts in the source language (an empty one is cleared rather than translated).
inline constexpr FormText texts[] = {
    { "purchaseBtn1", "text", "Buy Now" },
    { "btnContinue_1", "text", "Continue" },
    { "btnContinue_2", "text", "Continue" },
    { "btnContinue_3", "text", "Continue" },
    { "btnCancel_1", "text", "Cancel" },
    { "btnCancel_2", "text", "Cancel" },
    { "btnCancel_3", "text", "Cancel" },
    { "btnDiscount", "text", "Buy Now" },
    { "causeTitle", "text",
        "Please leave your reason about why you want to uninstall it. We will make every effort to "
        "optimize the program." },
    { "causeEdit", "placeholderText", "Please leave your suggestions or questions (optional)" },
    { "updateLab", "text", "The latest version is faster and more stable" },
    { "updateTipLab", "text",
        "<html><head/><body><p style='line-height: %1'>We found that your program is not the "
        "latest version. That may be the cause of the issue you are experiencing. Do you want to "
        "upgrade now?</p></body></html>" },
    { "btnUpdate", "text", "Upgrade Now" },
    { "label", "text", "More apps you may like:" },
    { "label_2", "text", "Uninstalling, please wait..." },
    { "emailLable", "text",
        "Please leave your email address. We will contact you once the problem is solved." },
    { "label_3", "text", "Email:" },
    { "emailEdit", "placeholderText", "" },
    { "btnComplete", "text", "Done" },
};

inline const QStringList languageCodes = { "en", "de", "fr", "it", "ja", "es", "pt", "zh_CN",
    "zh_TW", "ru", "tr", "ar", "cs", "da", "el", "fi", "hu", "nl", "no", "pl", "sv", "ur", "ko" };

} // namespace FormData
