#include "widgets/frmuser.h"

FrmUser::FrmUser(QWidget* parent)
    : QFrame(parent)
{
}
