#pragma once

#include "content/recapp.h"

#include <QStringList>
#include <QWidget>

namespace Ui {
class ClickedStackedWidget;
}

// The uninstalling page's pager of recommended-application cards. The skin decides how many
// cards a page holds (one per background name), their pictures and the gap between them.
class ClickedStackedWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString FrameRecBg READ frameRecBg WRITE setFrameRecBg)
    Q_PROPERTY(QString SkinPath READ skinPath WRITE setSkinPath)
    Q_PROPERTY(int recfrmSpacing READ recfrmSpacing WRITE setRecfrmSpacing)

public:
    explicit ClickedStackedWidget(QWidget* parent = nullptr);
    ~ClickedStackedWidget() override;

    // Background picture names joined by "*"; reads back empty.
    QString frameRecBg() const { return QString(); }
    void setFrameRecBg(const QString& value);
    // Folder prefix of the background pictures; reads back empty.
    QString skinPath() const { return QString(); }
    void setSkinPath(const QString& value);
    int recfrmSpacing() const { return cardSpacing; }
    void setRecfrmSpacing(int value) { cardSpacing = value; }

    // Throws away every page and lays the applications out again, page by page.
    void setRecAppInfos(const QVector<RecApp>& apps);

    // Page turning wraps around at both ends.
    void onBtnPrePage();
    void onBtnNextPage();

private:
    void removePages();

    Ui::ClickedStackedWidget* form;
    QString skinFolder;
    QStringList backgroundNames;
    int cardSpacing = 21;
};
