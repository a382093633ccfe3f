#include "widgets/customtextedit.h"

CustomTextEdit::CustomTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
}
