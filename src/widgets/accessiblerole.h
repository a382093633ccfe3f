#pragma once

#include <QAccessible>

class QWidget;

// Shows a widget to assistive technology as another kind of control than its class suggests:
// a frame that acts as a button, a button that only shows a picture. A button made so can be
// pressed through assistive technology as with the Space key.
namespace AccessibleRole {

// Must run before assistive technology first asks about the widget.
void set(QWidget* widget, QAccessible::Role role);

} // namespace AccessibleRole
