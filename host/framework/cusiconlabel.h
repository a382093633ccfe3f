#pragma once

#include "ternframework_export.h"

#include <QLabel>

// Icon label of the common widgets library: how the icon is drawn depends on its type.
class TERNFRAMEWORK_EXPORT cusIconLabel : public QLabel {
    Q_OBJECT
public:
    enum EIconType { Plain = 0, Hover = 1, Pressed = 2, Logo = 3 };

    explicit cusIconLabel(QWidget* parent = nullptr);

    void setIconType(EIconType type);
    EIconType iconType() const { return m_type; }

private:
    EIconType m_type = Plain;
};
