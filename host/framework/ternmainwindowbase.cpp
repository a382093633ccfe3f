#include "ternmainwindowbase.h"

#include "ternresourcemgr.h"
#include "windowdragger.h"

TernMainWindowBase::TernMainWindowBase(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::Window | Qt::FramelessWindowHint)
{
    new WindowDragger(this);
}

TernMainWindowBase::~TernMainWindowBase() = default;

void TernMainWindowBase::postCreateDerivedMainWindow(bool resizable, bool applySkin, QMenuBar*)
{
    // The designed size is for the base zoom; the window grows with the interface zoom and never
    // below what its contents need.
    const double zoom = TernResourceMgr::getZoomDPI() / TernResourceMgr::getBaseZoomDPI();
    const QSize zoomed = (QSizeF(size()) * zoom).toSize().expandedTo(minimumSizeHint());
    if (resizable)
        resize(zoomed);
    else
        setFixedSize(zoomed);
    if (applySkin)
        setAttribute(Qt::WA_StyledBackground, true);
}

void TernMainWindowBase::setAppEventLoopStarted()
{
    m_eventLoopStarted = true;
}
