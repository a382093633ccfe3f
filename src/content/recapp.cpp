#include "content/recapp.h"

#include <QMap>

void registerContentMetaTypes()
{
    qRegisterMetaType<RecApp>("RecApp");
    qRegisterMetaType<QVector<RecApp>>("QVector<RecApp>");
    qRegisterMetaType<QVector<QString>>("QVector<QString>");
    qRegisterMetaType<QMap<QString, QString>>("QMap<QString,QString>");
}
