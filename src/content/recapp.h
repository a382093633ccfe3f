#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

// One recommended application of the uninstalling page.
struct RecApp {
    QString icon; // file name of its icon picture, no folder
    QString name;
    QString url;

    bool operator==(const RecApp& other) const
    {
        return icon == other.icon && name == other.name && url == other.url;
    }
};

Q_DECLARE_METATYPE(RecApp)
Q_DECLARE_METATYPE(QVector<RecApp>)

// Registers RecApp and the other types that cross threads in queued signals.
void registerContentMetaTypes();
