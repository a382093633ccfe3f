#pragma once

#include <QFrame>

// Placeholder: a feature frame.
class FrmUser : public QFrame {
    Q_OBJECT
public:
    explicit FrmUser(QWidget* parent = nullptr);
};
