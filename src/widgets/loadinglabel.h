#pragma once

#include <QLabel>

// Placeholder: the animated loading label.
class LoadingLabel : public QLabel {
    Q_OBJECT
public:
    explicit LoadingLabel(QWidget* parent = nullptr);
    void startAnimation();
};
