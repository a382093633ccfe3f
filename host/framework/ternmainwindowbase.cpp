#include "ternmainwindowbase.h"

#include "windowdragger.h"

TernMainWindowBase::TernMainWindowBase(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::Window | Qt::FramelessWindowHint)
{
    new WindowDragger(this);
}

TernMainWindowBase::~TernMainWindowBase() = default;

void TernMainWindowBase::postCreateDerivedMainWindow(bool resizable, bool applySkin, QMenuBar*)
{
    if (!resizable)
        setFixedSize(size().expandedTo(minimumSizeHint()));
    if (applySkin)
        setAttribute(Qt::WA_StyledBackground, true);
}

void TernMainWindowBase::setAppEventLoopStarted()
{
    m_eventLoopStarted = true;
}
