#include "widgets/frminfo2.h"

#include "ui_frminfo2.h"

FrmInfo2::FrmInfo2(QWidget* parent)
    : QFrame(parent)
    , form(new Ui::FrmInfo2)
{
    form->setupUi(this);
}

FrmInfo2::~FrmInfo2()
{
    delete form;
}
