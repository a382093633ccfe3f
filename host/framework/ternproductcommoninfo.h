#pragma once

#include "ternframework_export.h"

#include <QString>

// Data the product family keeps about each product; cleaned up once a product is removed.
class TERNFRAMEWORK_EXPORT TernProductCommonInfo {
public:
    static TernProductCommonInfo* instance();
    virtual ~TernProductCommonInfo() = default;

    virtual void removeRecentRecords(const QString& productId);
    virtual void resetProductState(const QString& productId);

protected:
    TernProductCommonInfo() = default;
};
