#pragma once

#include <QFrame>

// Placeholder: a feature frame.
class FrmInfo : public QFrame {
    Q_OBJECT
public:
    explicit FrmInfo(QWidget* parent = nullptr);
};
