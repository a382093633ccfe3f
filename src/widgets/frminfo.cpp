#include "widgets/frminfo.h"

#include "ui_frminfo.h"

#include "content/brandrecommend.h"

#include <QEvent>

FrmInfo::FrmInfo(QWidget* parent)
    : QFrame(parent)
    , form(new Ui::FrmInfo)
{
    form->setupUi(this);
    applyBrandTexts();
}

FrmInfo::~FrmInfo()
{
    delete form;
}

void FrmInfo::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        form->retranslateUi(this);
        applyBrandTexts();
    }
}

void FrmInfo::applyBrandTexts()
{
    // Only a full set replaces the built-in texts; anything else would leave a mixed strip.
    const QStringList texts = brandRecommendTexts(QStringLiteral("uninstall_page0"));
    if (texts.size() != 3)
        return;
    form->lblText1->setText(texts.at(0));
    form->lblText2->setText(texts.at(1));
    form->lblText3->setText(texts.at(2));
}
