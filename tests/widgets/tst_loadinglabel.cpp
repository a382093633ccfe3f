#include "testenvironment.h"
#include "testpictures.h"

#include "widgets/loadinglabel.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QColor frameColour(int frame)
{
    return QColor(QColor::fromHsv((frame * 29) % 360, 200, 220).rgb());
}

const QColor baseColour(Qt::darkBlue);

// Every distinct frame number the label shows from now on, in order.
class FrameRecorder {
public:
    explicit FrameRecorder(const LoadingLabel& label)
    {
        frames.append(label.currentFrame());
        QObject::connect(&poll, &QTimer::timeout, &poll, [this, &label] {
            if (frames.last() != label.currentFrame())
                frames.append(label.currentFrame());
        });
        poll.start(2);
    }

    QList<int> frames;

private:
    QTimer poll;
};

} // namespace

class TestLoadingLabel : public QObject {
    Q_OBJECT

    QString framePicture(const QString& name) const
    {
        return pictures->path() + QStringLiteral("/loading/%1.png").arg(name);
    }

    std::unique_ptr<QTemporaryDir> pictures;

private slots:
    void init()
    {
        pictures = std::make_unique<QTemporaryDir>();
        QVERIFY(pictures->isValid());
        QVERIFY(TestPictures::write(framePicture("base"), QSize(24, 24), baseColour));
        for (int frame = 0; frame < 12; ++frame) {
            QVERIFY(TestPictures::write(
                framePicture(QString::number(frame)), QSize(24, 24), frameColour(frame)));
        }
        qApp->setStyleSheet(QStringLiteral("LoadingLabel { qproperty-imgBaseName: '%1';"
                                           " qproperty-imgCount: 12; qproperty-nInterval: 50; }")
                                .arg(framePicture("base")));
    }

    void cleanup()
    {
        qApp->setStyleSheet(QString());
        pictures.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void framesCycleOnceStarted()
    {
        LoadingLabel label(nullptr);
        FrameRecorder recorder(label);
        label.startAnimation();
        QTRY_VERIFY(recorder.frames.size() >= 15);
        QCOMPARE(recorder.frames.mid(0, 15),
            (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2 }));
    }

    void stillPictureUntilStarted()
    {
        LoadingLabel label(nullptr);
        label.resize(40, 40);
        QCOMPARE(TestPictures::centreColour(label.grab()), baseColour);
        QCOMPARE(label.currentFrame(), 1000);

        // The idle overlay is one more numbered picture next to the base image.
        QVERIFY(TestPictures::write(framePicture("1000"), QSize(24, 24), Qt::darkRed));
        QCOMPARE(TestPictures::centreColour(label.grab()), QColor(Qt::darkRed));

        label.startAnimation();
        QCOMPARE(label.currentFrame(), 0);
        QCOMPARE(TestPictures::centreColour(label.grab()), frameColour(0));
    }

    // Frames tick only when counted by the skin, at the interval the skin gave at construction.
    void ticking_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("setLater");
        QTest::addColumn<bool>("ticking");
        QTest::newRow("counted") << QString() << QString() << true;
        QTest::newRow("interval set later") << QString() << "interval" << true;
        QTest::newRow("no count") << "LoadingLabel { qproperty-nInterval: 0; }" << QString()
                                  << false;
        QTest::newRow("count set later") << "LoadingLabel { qproperty-nInterval: 0; }"
                                         << "count" << false;
    }

    void ticking()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, setLater);
        QFETCH(bool, ticking);
        if (!sheet.isEmpty())
            qApp->setStyleSheet(sheet);
        LoadingLabel label(nullptr);
        if (setLater == QLatin1String("count"))
            label.setImgCount(12);
        if (setLater == QLatin1String("interval"))
            label.setNInterval(3600000);
        label.startAnimation();
        QCOMPARE(label.isAnimating(), ticking);
        if (ticking)
            QTRY_COMPARE(label.currentFrame(), 3);
    }
};

UNINSTALL_TEST_MAIN(TestLoadingLabel)
#include "tst_loadinglabel.moc"
