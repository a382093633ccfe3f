#include "widgets/loadinglabel.h"

LoadingLabel::LoadingLabel(QWidget*)
    : QLabel(nullptr)
{
}

void LoadingLabel::startAnimation() { }
