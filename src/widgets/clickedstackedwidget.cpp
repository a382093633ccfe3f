#include "widgets/clickedstackedwidget.h"

ClickedStackedWidget::ClickedStackedWidget(QWidget* parent)
    : QWidget(parent)
{
}

void ClickedStackedWidget::setRecAppInfos(const QVector<RecApp>&) { }
