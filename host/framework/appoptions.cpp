#include "appoptions.h"

#include "ternresourcemgr.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>

AppOptions* AppOptions::instance()
{
    static AppOptions options;
    return &options;
}

void AppOptions::setLogoIconByProName(QLabel* label)
{
    if (!label)
        return;
    TernResourceMgr* resources = TernResourceMgr::instance();
    QString path = resources->skinDir() + QStringLiteral("/logo.png");
    if (!QFile::exists(path))
        path = resources->productResourceRoot() + QStringLiteral("/logo.png");
    QPixmap logo(path);
    if (logo.isNull())
        return;
    const int height = label->height() > 0 ? qMin(label->height(), logo.height()) : logo.height();
    label->setPixmap(logo.scaledToHeight(height, Qt::SmoothTransformation));
}
