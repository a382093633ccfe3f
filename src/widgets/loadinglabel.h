#pragma once

#include <QLabel>
#include <QTimer>

// A label that plays numbered pictures ("0.png", "1.png", ...) from the folder of its base
// image. What it plays, how fast and where it sits come from the skin's style sheet.
class LoadingLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString imgBaseName READ imgBaseName WRITE setImgBaseName)
    Q_PROPERTY(int imgCount READ imgCount WRITE setImgCount)
    Q_PROPERTY(int nInterval READ nInterval WRITE setNInterval)
    Q_PROPERTY(int xOffset READ xOffset WRITE setXOffset)
    Q_PROPERTY(int yOffset READ yOffset WRITE setYOffset)

public:
    // The parent is not taken: the layout that receives the label adopts it.
    explicit LoadingLabel(QWidget* parent = nullptr);
    ~LoadingLabel() override;

    QString imgBaseName() const { return baseImage; }
    void setImgBaseName(const QString& value) { baseImage = value; }
    int imgCount() const { return imageCount; }
    void setImgCount(int value) { imageCount = value; }
    int nInterval() const { return interval; }
    void setNInterval(int value) { interval = value; }
    int xOffset() const { return offsetX; }
    void setXOffset(int value) { offsetX = value; }
    int yOffset() const { return offsetY; }
    void setYOffset(int value) { offsetY = value; }

    // Starts cycling from frame 0; there is no way back to the still picture.
    void startAnimation();
    void advanceFrame();
    int currentFrame() const { return frame; }
    bool isAnimating() const { return frameTimer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString framePath(const QString& folder, int number) const;

    QTimer frameTimer;
    int imageCount = -1;
    int frame = 0;
    int interval = 100;
    QString baseImage;
    bool running = false;
    bool advancing = false; // the frame timer was set up at construction
    int offsetX = 0;
    int offsetY = 0;
};
