#pragma once

#include "ternframework_export.h"

class QLabel;

// Product-wide presentation options of the common widgets library.
class TERNFRAMEWORK_EXPORT AppOptions {
public:
    static AppOptions* instance();

    // Puts the product's logo (logo.png of the skin, else of the resource root) on the label.
    void setLogoIconByProName(QLabel* label);

private:
    AppOptions() = default;
};
