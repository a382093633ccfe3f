#pragma once

#include <QTextEdit>

// Placeholder: the note editor.
class CustomTextEdit : public QTextEdit {
public:
    explicit CustomTextEdit(QWidget* parent = nullptr);
};
