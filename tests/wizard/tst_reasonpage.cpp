// The reason page: causes delivered to the five boxes, the exclusive choice, the Continue rule
// and the cause keys that the first report reads back from the boxes.

#include "testenvironment.h"

#include "entry/uninstallsingleinstance.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "ternlog.h"
#include "ternsingleinstance.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using Causes = QMap<QString, QString>;

namespace {

const QString kSkin = QStringLiteral(
    "Uninstall { qproperty-textColor: '#111111*#222222'; qproperty-textWeight: '700*600'; }");

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

QStringList letters(const QString& keys)
{
    return keys.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

class TestReasonPage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Uninstall> m_wizard;
    // The five boxes in form order; their object names change with every delivery.
    QVector<QPointer<QCheckBox>> m_boxes;

    Uninstall* makeWizard(bool testMode = false)
    {
        TestEnv::setExtendParam(
            QStringLiteral("uninstallTest"), testMode ? QStringLiteral("1") : QStringLiteral("0"));
        m_wizard = std::make_unique<Uninstall>();
        m_boxes.clear();
        for (int i = 1; i <= 5; ++i)
            m_boxes.append(
                child<QCheckBox>(m_wizard.get(), qPrintable(QStringLiteral("option_%1").arg(i))));
        m_wizard->show();
        return m_wizard.get();
    }

    void deliver(bool exclusive, const QStringList& keys, const Causes& texts = {},
        const QString& users = QStringLiteral("50 million"))
    {
        emit m_wizard->contentProfile()->uninstallCauseEmit(
            exclusive, keys.toVector(), texts, users);
    }

    bool continueEnabled() const { return child(m_wizard.get(), "btnContinue_2")->isEnabled(); }

private slots:
    // Reaching the uninstalling page makes sure the guard exists; its segment must not outlive the
    // test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void initTestCase()
    {
        SetLogfile(
            (TestEnv::dataLocation() + QStringLiteral("/uninstall.log")).toStdString().c_str());
        SetLogLevel(1);
        UninstallRegMgr::init()->setRegContext(new UninstallContext);
        TernSingleInstance::instance()->forceRunState(0);
    }

    void init()
    {
        qApp->setStyleSheet(kSkin);
        TestEnv::clearLog();
    }

    void cleanup()
    {
        m_wizard.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void appliesCauses_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("textCount");
        QTest::newRow("five keys, three texts") << QStringLiteral("a,b,c,d,e") << 3;
        QTest::newRow("three keys") << QStringLiteral("a,b,c") << 3;
        QTest::newRow("one key, two texts") << QStringLiteral("a") << 2;
        QTest::newRow("no keys") << QString() << 0;
    }

    void appliesCauses()
    {
        QFETCH(QString, keys);
        QFETCH(int, textCount);
        makeWizard();
        const QStringList keyList = letters(keys);
        Causes texts;
        for (const QString& key : letters(QStringLiteral("a,b,c,d,e")).mid(0, textCount))
            texts.insert(key, key.toUpper());
        deliver(true, keyList, texts);

        for (int i = 0; i < 5; ++i) {
            QCheckBox* box = m_boxes.at(i);
            if (i < keyList.size()) {
                QCOMPARE(box->objectName(), keyList.at(i));
                QCOMPARE(box->text(), i < textCount ? keyList.at(i).toUpper() : QString());
                QVERIFY(box->isEnabled());
            } else {
                QCOMPARE(box->objectName(), QStringLiteral("option_%1").arg(i + 1));
                QCOMPARE(box->text(), QString());
                QVERIFY(!box->isEnabled());
            }
        }
        QVERIFY(child(m_wizard.get(), "causeEdit")->isEnabled());
        QVERIFY(!continueEnabled());
        QCOMPARE(child<QLabel>(m_wizard.get(), "hintLab")->text(),
            QStringLiteral(
                "<html><head/><body><p>We have provided data transfer services to over <span "
                "style='font-weight:600; color:#222222;'>50 million</span> "
                "users</p></body></html>"));
        const QStringList log = TestEnv::logMessages(QStringLiteral("debug"));
        const int bound = log.indexOf(QStringLiteral("bind uninstall cause!"));
        QVERIFY(bound >= 0);
        QCOMPARE(log.value(bound + 1), QStringLiteral("uninstall cause size: %1").arg(textCount));
    }

    void choice_data()
    {
        QTest::addColumn<bool>("exclusive");
        QTest::newRow("one cause") << true;
        QTest::newRow("several causes") << false;
    }

    void choice()
    {
        QFETCH(bool, exclusive);
        makeWizard();
        deliver(exclusive, letters(QStringLiteral("a,b,c,d,e")));
        m_boxes.at(0)->click();
        QVERIFY(continueEnabled());
        m_boxes.at(3)->click();
        QCOMPARE(m_boxes.at(0)->isChecked(), !exclusive);
        QVERIFY(m_boxes.at(3)->isChecked());
        QVERIFY(continueEnabled());
        if (exclusive)
            return;
        m_boxes.at(0)->click();
        QVERIFY(continueEnabled());
        m_boxes.at(3)->click();
        QVERIFY(!continueEnabled());
    }

    void redeliveryReplacesTheCauses()
    {
        makeWizard();
        deliver(true, letters(QStringLiteral("a,b,c,d,e")),
            { { QStringLiteral("d"), QStringLiteral("Old") } });
        QButtonGroup* first = m_boxes.at(0)->group();
        QVERIFY(first && first->exclusive());
        m_boxes.at(3)->click();
        QVERIFY(continueEnabled());

        // The ticked box loses its cause: it is unticked even though its group was exclusive.
        deliver(true, letters(QStringLiteral("v,w,x")),
            { { QStringLiteral("v"), QStringLiteral("New") } });
        QCOMPARE(m_boxes.at(0)->objectName(), QStringLiteral("v"));
        QCOMPARE(m_boxes.at(0)->text(), QStringLiteral("New"));
        QCOMPARE(m_boxes.at(2)->objectName(), QStringLiteral("x"));
        QCOMPARE(m_boxes.at(3)->objectName(), QStringLiteral("option_4"));
        QCOMPARE(m_boxes.at(3)->text(), QString());
        QVERIFY(!m_boxes.at(3)->isChecked());
        QVERIFY(!continueEnabled());

        QButtonGroup* second = m_boxes.at(0)->group();
        QVERIFY(second && second != first && second->exclusive());
        QCOMPARE(m_boxes.at(2)->group(), second);
        QCOMPARE(
            m_wizard->findChildren<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly).size(), 2);
        m_boxes.at(0)->click();
        m_boxes.at(2)->click();
        QVERIFY(!m_boxes.at(0)->isChecked());
        QVERIFY(continueEnabled());

        // A later delivery brings the boxes back.
        deliver(false, letters(QStringLiteral("a,b,c,d,e")),
            { { QStringLiteral("d"), QStringLiteral("Again") } });
        QCOMPARE(m_boxes.at(3)->objectName(), QStringLiteral("d"));
        QCOMPARE(m_boxes.at(3)->text(), QStringLiteral("Again"));
        QVERIFY(m_boxes.at(3)->isEnabled());
    }

    void reportCarriesTheCauseKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("five causes")
            << QStringLiteral("a,b,c,d,e") << letters(QStringLiteral("a,b,c,d,e"));
        QTest::newRow("three causes")
            << QStringLiteral("a,b,c") << letters(QStringLiteral("a,b,c,option_4,option_5"));
    }

    void reportCarriesTheCauseKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, reported);
        // Test mode: the uninstalling page is reached without deleting anything.
        Uninstall* wizard = makeWizard(true);
        QVERIFY(wizard->isTestMode());
        QTRY_COMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 1);
        child<QPushButton>(wizard, "btnContinue_1")->click();
        deliver(false, letters(keys));
        child<QCheckBox>(wizard, "c")->click();
        QCOMPARE(m_boxes.at(2)->objectName(), QStringLiteral("c"));
        child<QTextEdit>(wizard, "causeEdit")->setPlainText(QStringLiteral("a note"));
        child<QPushButton>(wizard, "btnContinue_2")->click();
        child<QPushButton>(wizard, "btnContinue_3")->click();
        QCOMPARE(child<QStackedWidget>(wizard, "processPage")->currentIndex(), 3);

        const QJsonArray causes = QJsonDocument::fromJson(wizard->firstReport())
                                      .object()
                                      .value(QStringLiteral("uninstallCause"))
                                      .toArray();
        QCOMPARE(causes.size(), 6);
        for (int i = 0; i < 5; ++i) {
            const QJsonObject cause = causes.at(i).toObject();
            QCOMPARE(cause.keys(), QStringList { reported.at(i) });
            QCOMPARE(cause.value(reported.at(i)), QJsonValue(reported.at(i) == QLatin1String("c")));
        }
        QCOMPARE(causes.at(5).toString(), QStringLiteral("a note"));
    }
};

UNINSTALL_TEST_MAIN(TestReasonPage)
#include "tst_reasonpage.moc"
