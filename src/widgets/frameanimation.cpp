#include "widgets/frameanimation.h"

#include <QEvent>
#include <QLabel>

FrameAnimation::FrameAnimation(QLabel* label, const QString& folder, int frameCount, int intervalMs)
    : QObject(label)
    , label(label)
    , folder(folder)
    , frameCount(qMax(0, frameCount))
{
    label->setAlignment(Qt::AlignCenter);
    timer.setInterval(intervalMs);
    connect(&timer, &QTimer::timeout, this, [this] {
        frame = (frame + 1) % this->frameCount;
        showFrame();
    });
    label->installEventFilter(this);
    if (label->isVisible() && this->frameCount > 0)
        timer.start();
}

bool FrameAnimation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label && frameCount > 0) {
        // Hidden, it costs nothing: its page is not on screen, or the removal is over.
        if (event->type() == QEvent::Show) {
            showFrame();
            timer.start();
        } else if (event->type() == QEvent::Hide) {
            timer.stop();
        } else if (event->type() == QEvent::Resize) {
            showFrame();
        }
    }
    return QObject::eventFilter(watched, event);
}

void FrameAnimation::showFrame()
{
    // The frames are drawn large and scaled down once for the label's size, at any zoom.
    const QSize size = label->contentsRect().size();
    if (size != scaledSize) {
        scaledSize = size;
        frames.clear();
        for (int i = 0; i < frameCount; ++i) {
            const QPixmap picture(folder + QStringLiteral("/%1.png").arg(i));
            frames.append(picture.isNull() || size.isEmpty()
                    ? picture
                    : picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
    }
    if (frame < frames.size())
        label->setPixmap(frames.at(frame));
}
