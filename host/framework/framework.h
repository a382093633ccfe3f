#pragma once

#include "ternframework_export.h"

class QNetworkAccessManager;

// Start-up and tear-down of the product family's framework.
class TERNFRAMEWORK_EXPORT Framework {
public:
    // Creates the application object (unless one exists) and loads the product description
    // from the installation directory; sets the organisation and application names from it.
    static void init(int argc, int flags, char** argv, int reserved);
    // Flushes the settings and drops the translations; the application object stays.
    static void uninit();
    static bool isInitialized();

    static void setAboutIcnShow(bool show);
    static bool aboutIcnShow();

    // The process's shared manager, owned by the framework; null before init.
    static QNetworkAccessManager* networkAccessManager();
};
