#include "widgets/dialogkeys.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool pressable(const QAbstractButton* button)
{
    return button && button->isVisible() && button->isEnabled();
}

bool click(QAbstractButton* button)
{
    if (!pressable(button))
        return false;
    button->click();
    return true;
}

} // namespace

namespace DialogKeys {

bool press(const QWidget* window, const QKeyEvent* event, QAbstractButton* defaultButton,
    QAbstractButton* escapeButton)
{
    if (event->isAutoRepeat())
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A check box with the focus is ticked with Space; Return goes on.
        auto* focused = qobject_cast<QAbstractButton*>(window->focusWidget());
        if (focused && !qobject_cast<QCheckBox*>(focused) && click(focused))
            return true;
        return click(defaultButton);
    }
    case Qt::Key_Escape:
        return click(escapeButton);
    default:
        return false;
    }
}

} // namespace DialogKeys
