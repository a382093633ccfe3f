#include "removal/checkclosedlg.h"

CheckCloseDlg::CheckCloseDlg(QWidget* parent)
    : TernMainWindowBase(parent)
{
}

void CheckCloseDlg::onKillPrograms()
{
    emit startKillCheck();
    emit completeKill();
}
