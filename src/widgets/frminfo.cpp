#include "widgets/frminfo.h"

FrmInfo::FrmInfo(QWidget* parent)
    : QFrame(parent)
{
}
