#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Moves a frameless window while the left button drags it. It only watches the events and
// never consumes them, so the window still sees every press, move and release.
class WindowDragger : public QObject {
    Q_OBJECT
public:
    explicit WindowDragger(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QPoint m_offset;
    bool m_pressed = false;
};
