#pragma once

#include <QFrame>

// Placeholder: a feature frame.
class FrmInfo2 : public QFrame {
    Q_OBJECT
public:
    explicit FrmInfo2(QWidget* parent = nullptr);
};
