#pragma once

#include <QFrame>

namespace Ui {
class FrmInfo2;
}

// The update offer's column of three feature highlights.
class FrmInfo2 : public QFrame {
    Q_OBJECT
public:
    explicit FrmInfo2(QWidget* parent = nullptr);
    ~FrmInfo2() override;

private:
    Ui::FrmInfo2* form;
};
