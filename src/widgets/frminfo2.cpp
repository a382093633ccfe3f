#include "widgets/frminfo2.h"

FrmInfo2::FrmInfo2(QWidget* parent)
    : QFrame(parent)
{
}
