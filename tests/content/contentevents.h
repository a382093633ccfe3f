#pragma once

#include "content/recapp.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVector>

// Records what a content source (the profile or its worker) emits, in the order it arrives.
class ContentEvents : public QObject {
public:
    struct Causes {
        bool causeCheck = false;
        QVector<QString> keys;
        QMap<QString, QString> texts;
        QString users;
    };

    template <class Source> explicit ContentEvents(Source* source)
    {
        connect(source, &Source::recAppEmit, this, [this](QVector<RecApp> apps) {
            order.append(QStringLiteral("recAppEmit"));
            recApps.append(apps);
        });
        connect(source, &Source::uninstallCauseEmit, this,
            [this](bool check, QVector<QString> keys, QMap<QString, QString> texts, QString users) {
                order.append(QStringLiteral("uninstallCauseEmit"));
                causes.append({ check, keys, texts, users });
            });
        connect(source, &Source::downLoadResEmit, this, [this] {
            order.append(QStringLiteral("downLoadResEmit"));
            ++ready;
        });
    }

    QStringList order;
    QList<QVector<RecApp>> recApps;
    QList<Causes> causes;
    int ready = 0;
};
