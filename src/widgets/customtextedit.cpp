#include "widgets/customtextedit.h"

CustomTextEdit::CustomTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
}

CustomTextEdit::~CustomTextEdit() = default;

void CustomTextEdit::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    // A second click finds the hint already hidden and must not overwrite the saved one.
    if (!placeholderText().isEmpty()) {
        savedHint = placeholderText();
        setPlaceholderText(QString());
    }
}

void CustomTextEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    if (!savedHint.isEmpty())
        setPlaceholderText(savedHint);
}
