#pragma once

#include "ternframework_export.h"

#include <QWidget>

class QMenuBar;

// Frameless top-level window of the product family: the skin draws the frame and the title
// bar, and the user moves the window by dragging it.
class TERNFRAMEWORK_EXPORT TernMainWindowBase : public QWidget {
    Q_OBJECT
public:
    explicit TernMainWindowBase(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~TernMainWindowBase() override;

    // Finishes the set-up once the derived window has built its widgets.
    void postCreateDerivedMainWindow(bool resizable, bool applySkin, QMenuBar* menuBar);
    void setAppEventLoopStarted();
    bool isAppEventLoopStarted() const { return m_eventLoopStarted; }

protected:
    // How many extra buttons the framework adds to the title bar.
    virtual int extraTitleButtons() = 0;

private:
    bool m_eventLoopStarted = false;
};
