#pragma once

class QAbstractButton;
class QKeyEvent;
class QWidget;

// Return and Escape for the frameless windows, as dialogs have them: Return presses the button
// that has the focus or else the default one, Escape the way out. A button that is hidden,
// disabled or missing is not pressed. Returns whether the key was used.
namespace DialogKeys {

bool press(const QWidget* window, const QKeyEvent* event, QAbstractButton* defaultButton,
    QAbstractButton* escapeButton);

} // namespace DialogKeys
