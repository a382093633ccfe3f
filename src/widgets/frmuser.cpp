#include "widgets/frmuser.h"

#include "ui_frmuser.h"

#include "content/brandrecommend.h"

#include <QEvent>

FrmUser::FrmUser(QWidget* parent)
    : QFrame(parent)
    , form(new Ui::FrmUser)
{
    form->setupUi(this);
    applyBrandTexts();
}

FrmUser::~FrmUser()
{
    delete form;
}

void FrmUser::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        applyBrandTexts();
    }
}

void FrmUser::applyBrandTexts()
{
    // The count and its unit are replaced together or not at all.
    const QStringList texts = brandRecommendTexts(QStringLiteral("uninstall_page1"));
    if (texts.size() != 2)
        return;
    form->label->setText(texts.at(0));
    form->label_3->setText(texts.at(1));
}
