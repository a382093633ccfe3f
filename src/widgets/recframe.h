#pragma once

#include <QFrame>
#include <QPalette>
#include <QSize>

namespace Ui {
class RecFrame;
}

// One card of the recommended-apps pager: background picture, icon, name and a link button.
class RecFrame : public QFrame {
    Q_OBJECT
public:
    explicit RecFrame(QWidget* parent = nullptr);
    ~RecFrame() override;

    // Fixes the card to half the picture's size (scaled by the zoom) and paints it behind.
    void setBackground(const QString& bgPath);
    // Builds the background palette and stores the card size the picture asks for.
    QPalette getFrameBackground(const QString& path);
    void setIcon(const QString& iconPath);
    void setName(const QString& name);
    void setBtnText(const QString& text);
    // Every call adds one more handler: each click reports the card and opens the link.
    void setBtnUrl(const QString& url);

    // The display zoom that pictures and gaps are scaled by; the product may switch it off.
    static double zoomFactor();

    // The card's only control, for the pager's tab order.
    QWidget* linkButton() const;

private:
    // Assistive technology tells the cards' buttons apart by the application's name.
    void nameLinkButton();

    Ui::RecFrame* form;
    QSize cardSize { -1, -1 };
};
