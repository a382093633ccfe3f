#pragma once

#include <QFrame>

namespace Ui {
class FrmUser;
}

// The user count on the reason page; the product may reword it. The count and its unit share
// one line where the frame's greatest width holds them; otherwise the unit goes below.
class FrmUser : public QFrame {
    Q_OBJECT
public:
    explicit FrmUser(QWidget* parent = nullptr);
    ~FrmUser() override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyBrandTexts();
    void fitTexts();

    Ui::FrmUser* form;
};
