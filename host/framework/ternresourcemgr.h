#pragma once

#include "ternframework_export.h"

#include <QList>
#include <QString>

class QTranslator;

// Skins, translations and the shipped resources of the product.
class TERNFRAMEWORK_EXPORT TernResourceMgr {
public:
    static TernResourceMgr* instance();

    // Applies <resource root>/skins/<skin>/skin.qss to the application. In the style sheet
    // ${SKIN} stands for the skin's folder and ${RESOURCES} for the resource root. Past the base
    // zoom its lengths grow with the zoom and its pictures come from their "@2x" variants.
    void setCurrentSkin(const QString& skin);
    QString currentSkin() const;
    // Installs <resource root>/translations/uninstall_<language>.qm (and Qt's own, where shipped)
    // and lays the application out right to left for right-to-left languages.
    void setCurrentLanguage(const QString& language);
    QString currentLanguage() const;
    void unloadTranslations();

    static QString applicationIconPath();
    // Current and base zoom of the user interface; TERN_ZOOM_DPI overrides the screen's.
    static double getZoomDPI();
    static double getBaseZoomDPI();

    QString productResourceRoot() const;
    QString productDir() const;
    QString skinDir() const;

private:
    TernResourceMgr() = default;

    QString m_skin;
    QString m_language;
    QList<QTranslator*> m_translators;
};
