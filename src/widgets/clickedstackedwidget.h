#pragma once

#include "content/recapp.h"

#include <QWidget>

// Placeholder: the recommended-apps pager.
class ClickedStackedWidget : public QWidget {
    Q_OBJECT
public:
    explicit ClickedStackedWidget(QWidget* parent = nullptr);
    void setRecAppInfos(const QVector<RecApp>& apps);
};
