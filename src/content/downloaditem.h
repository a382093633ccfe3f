#pragma once

#include <QString>
#include <QUrl>

// One picture to fetch into the download directory.
struct DownloadItem {
    QUrl url;
    QString fileName; // no folder part
};
