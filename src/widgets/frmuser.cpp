#include "widgets/frmuser.h"

#include "ui_frmuser.h"

#include "content/brandrecommend.h"

#include <QEvent>
#include <QHBoxLayout>

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

bool FrmUser::event(QEvent* event)
{
    // Texts and fonts arrive late (brand file, language, skin); each change asks for a layout.
    if (event->type() == QEvent::LayoutRequest)
        fitTexts();
    return QFrame::event(event);
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

void FrmUser::fitTexts()
{
    const QMargins margins = contentsMargins() + layout()->contentsMargins();
    const int oneLine = form->label->sizeHint().width() + form->label_3->sizeHint().width()
        + margins.left() + margins.right();
    const bool stacked = oneLine > maximumWidth();
    form->horizontalLayout->setDirection(
        stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    form->label->setAlignment(
        stacked ? Qt::AlignHCenter | Qt::AlignBottom : Qt::AlignRight | Qt::AlignVCenter);
    form->label_3->setAlignment(
        stacked ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
    // Not in a layout: the frame sizes itself, within the bounds the skin gives it.
    adjustSize();
}
