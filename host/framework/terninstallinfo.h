#pragma once

#include "ternframework_export.h"

// The framework's record of the product's installation.
class TERNFRAMEWORK_EXPORT TernInstallInfo {
public:
    // Marks the installation as gone ("install/registered" becomes false in the settings).
    static void deregisterInstall();
};
