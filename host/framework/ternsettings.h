#pragma once

#include "ternframework_export.h"

#include <QMutex>
#include <QString>
#include <QVariant>

class QSettings;

// Per-user settings of the product, kept in an INI file in the user's configuration folder.
// Safe from any thread.
class TERNFRAMEWORK_EXPORT TernSettings {
public:
    static TernSettings* instance();
    virtual ~TernSettings();

    virtual QString skin(const QString& defaultSkin);
    virtual QString language(const QString& defaultLanguage);
    virtual void setLanguage(const QString& language);
    virtual QVariant value(const QString& key, const QVariant& defaultValue);
    virtual void setValue(const QString& key, const QVariant& value);

    void sync();
    QString fileName();

protected:
    TernSettings() = default;

private:
    QSettings* settings();

    QMutex m_mutex;
    QSettings* m_settings = nullptr;
    QString m_path;
};
