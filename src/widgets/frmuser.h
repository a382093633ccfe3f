#pragma once

#include <QFrame>

namespace Ui {
class FrmUser;
}

// The user count on the reason page; the product may reword it.
class FrmUser : public QFrame {
    Q_OBJECT
public:
    explicit FrmUser(QWidget* parent = nullptr);
    ~FrmUser() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyBrandTexts();

    Ui::FrmUser* form;
};
