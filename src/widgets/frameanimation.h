#pragma once

#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVector>

class QLabel;

// Turns a label's picture through numbered frames ("0.png", "1.png", ...) of a folder, scaled
// to the label, while the label is on screen: the uninstalling page's spinner plays the loading
// page's frames.
class FrameAnimation : public QObject {
    Q_OBJECT
public:
    // The animation belongs to the label and starts whenever the label is shown.
    FrameAnimation(QLabel* label, const QString& folder, int frameCount, int intervalMs);

    int currentFrame() const { return frame; }
    bool isRunning() const { return timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFrame();

    QLabel* label;
    QString folder;
    QVector<QPixmap> frames; // scaled to scaledSize
    QSize scaledSize;
    int frameCount;
    int frame = 0;
    QTimer timer;
};
