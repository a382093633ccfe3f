#pragma once

#include <QString>
#include <QTextEdit>

// The note editor: its hint steps aside from the first click until the editor loses the focus.
class CustomTextEdit : public QTextEdit {
public:
    explicit CustomTextEdit(QWidget* parent = nullptr);
    ~CustomTextEdit() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString savedHint;
};
