#pragma once

#include <QFrame>

namespace Ui {
class FrmInfo;
}

// A strip of three feature highlights on the home page; the product may reword them.
class FrmInfo : public QFrame {
    Q_OBJECT
public:
    explicit FrmInfo(QWidget* parent = nullptr);
    ~FrmInfo() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyBrandTexts();

    Ui::FrmInfo* form;
};
