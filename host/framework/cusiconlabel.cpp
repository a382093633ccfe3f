#include "cusiconlabel.h"

cusIconLabel::cusIconLabel(QWidget* parent)
    : QLabel(parent)
{
}

void cusIconLabel::setIconType(EIconType type)
{
    m_type = type;
    // A logo keeps its proportions inside the title bar; other icons fill the label.
    setScaledContents(type != Logo);
}
