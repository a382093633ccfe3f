#include "testenvironment.h"
#include "testpictures.h"

#include "widgets/loadinglabel.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QColor frameColour(int frame)
{
    return QColor(QColor::fromHsv((frame * 29) % 360, 200, 220).rgb());
}

const QColor baseColour(Qt::darkBlue);
const QColor idleColour(Qt::darkRed);

// Every distinct frame number the label shows from now on, in order.
class FrameRecorder {
public:
    explicit FrameRecorder(const LoadingLabel& label)
        : label(label)
    {
        frames.append(label.currentFrame());
        QObject::connect(&poll, &QTimer::timeout, &poll, [this] {
            if (frames.last() != this->label.currentFrame())
                frames.append(this->label.currentFrame());
        });
        poll.start(2);
    }

    QList<int> frames;

private:
    const LoadingLabel& label;
    QTimer poll;
};

} // namespace

class TestLoadingLabel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void framesCycleOnceStarted();
    void stillPictureUntilStarted();
    void intervalIsTakenAtConstruction();
    void countSetAfterConstructionNeverAdvances();
    void everyPaintMovesToTheOffsets();
    void withoutCountOnlyTheFrameIsPainted();

private:
    QString baseImage() const { return pictures->path() + QStringLiteral("/loading/base.png"); }
    QString framePicture(int frame) const
    {
        return pictures->path() + QStringLiteral("/loading/%1.png").arg(frame);
    }
    void useSheet(const QString& properties);

    std::unique_ptr<QTemporaryDir> pictures;
};

void TestLoadingLabel::init()
{
    pictures = std::make_unique<QTemporaryDir>();
    QVERIFY(pictures->isValid());
    QVERIFY(TestPictures::write(baseImage(), QSize(24, 24), baseColour));
    for (int frame = 0; frame < 12; ++frame)
        QVERIFY(TestPictures::write(framePicture(frame), QSize(24, 24), frameColour(frame)));
}

void TestLoadingLabel::cleanup()
{
    qApp->setStyleSheet(QString());
    pictures.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestLoadingLabel::useSheet(const QString& properties)
{
    qApp->setStyleSheet(QStringLiteral("LoadingLabel { qproperty-imgBaseName: '%1'; %2 }")
                            .arg(baseImage(), properties));
}

void TestLoadingLabel::framesCycleOnceStarted()
{
    useSheet(QStringLiteral("qproperty-imgCount: 12; qproperty-nInterval: 50;"));
    LoadingLabel label(nullptr);
    QCOMPARE(label.imgCount(), 12);
    QCOMPARE(label.nInterval(), 50);

    FrameRecorder recorder(label);
    label.startAnimation();
    QTRY_VERIFY(recorder.frames.size() >= 15);
    QCOMPARE(
        recorder.frames.mid(0, 15), (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2 }));
}

void TestLoadingLabel::stillPictureUntilStarted()
{
    useSheet(QStringLiteral("qproperty-imgCount: 12; qproperty-nInterval: 50;"));
    LoadingLabel label(nullptr);
    label.resize(40, 40);

    QCOMPARE(TestPictures::centreColour(label.grab()), baseColour);
    QCOMPARE(label.currentFrame(), 1000);

    // The idle overlay is one more numbered picture next to the base image.
    QVERIFY(TestPictures::write(framePicture(1000), QSize(24, 24), idleColour));
    QCOMPARE(TestPictures::centreColour(label.grab()), idleColour);

    label.startAnimation();
    QCOMPARE(label.currentFrame(), 0);
    QCOMPARE(TestPictures::centreColour(label.grab()), frameColour(label.currentFrame()));
}

void TestLoadingLabel::intervalIsTakenAtConstruction()
{
    useSheet(QStringLiteral("qproperty-imgCount: 12; qproperty-nInterval: 50;"));
    LoadingLabel label(nullptr);
    label.setNInterval(3600000);
    label.startAnimation();
    QTRY_COMPARE(label.currentFrame(), 3);
}

void TestLoadingLabel::countSetAfterConstructionNeverAdvances()
{
    useSheet(QString());
    LoadingLabel late(nullptr);
    QCOMPARE(late.imgCount(), -1);
    // The new sheet reaches the existing label too, but only after its constructor ran.
    useSheet(QStringLiteral("qproperty-imgCount: 12; qproperty-nInterval: 50;"));
    QCOMPARE(late.imgCount(), 12);
    LoadingLabel reference(nullptr);

    late.startAnimation();
    reference.startAnimation();
    QTRY_COMPARE(reference.currentFrame(), 3);
    QCOMPARE(late.currentFrame(), 0);
    late.resize(40, 40);
    QCOMPARE(TestPictures::centreColour(late.grab()), frameColour(0));
}

void TestLoadingLabel::everyPaintMovesToTheOffsets()
{
    useSheet(QStringLiteral("qproperty-imgCount: 12; qproperty-xOffset: 7; qproperty-yOffset: 9;"));
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(30, 30, 30, 30);
    auto* label = new LoadingLabel(&page);
    QVERIFY2(!label->parentWidget(), "the label waits for a layout to adopt it");
    layout->addWidget(label);
    QCOMPARE(label->parentWidget(), &page);
    page.resize(120, 120);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTRY_COMPARE(label->pos(), QPoint(7, 9));
}

void TestLoadingLabel::withoutCountOnlyTheFrameIsPainted()
{
    useSheet(QString());
    LoadingLabel label(nullptr);
    QPixmap red(40, 40);
    red.fill(Qt::red);
    label.setPixmap(red);
    label.resize(40, 40);
    QVERIFY(TestPictures::centreColour(label.grab()) != QColor(Qt::red));
    QCOMPARE(label.currentFrame(), 0);
}

UNINSTALL_TEST_MAIN(TestLoadingLabel)
#include "tst_loadinglabel.moc"
