#include "widgets/loadinglabel.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

LoadingLabel::LoadingLabel(QWidget*)
    : QLabel(nullptr)
{
    // The style sheets in force now decide the frame count and the speed, once and for all.
    ensurePolished();
    if (imageCount > 0) {
        connect(&frameTimer, &QTimer::timeout, this, &LoadingLabel::advanceFrame);
        frameTimer.setInterval(interval);
        advancing = true;
    }
    raise();
}

LoadingLabel::~LoadingLabel() = default;

void LoadingLabel::startAnimation()
{
    running = true;
    frame = 0;
    update();
    // Without frames, or without the timer set up for them, ticking would only burn a core.
    if (imageCount > 0 && advancing)
        frameTimer.start();
}

void LoadingLabel::advanceFrame()
{
    ++frame;
    if (frame < 0)
        frame = 0;
    if (frame >= imageCount)
        frame = 0;
    update();
}

QString LoadingLabel::framePath(const QString& folder, int number) const
{
    return folder + QStringLiteral("/%1.png").arg(number);
}

void LoadingLabel::paintEvent(QPaintEvent* event)
{
    if (imageCount <= 0) {
        QFrame::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QString folder = QFileInfo(baseImage).absolutePath();
    if (!running) {
        painter.drawPixmap(rect(), QPixmap(baseImage));
        // Until started, the optional "1000.png" overlays the still picture.
        frame = 1000;
    }
    painter.drawPixmap(rect(), QPixmap(framePath(folder, frame)));
    move(offsetX, offsetY);
    raise();
}
