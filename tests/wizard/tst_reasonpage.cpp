// The reason page: causes delivered to the five boxes, the exclusive choice, the Continue rule
// and the cause keys that the first report reads back from the boxes.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPointer>
#include <QTextEdit>
#include <QtTest>

using namespace WizardRunner;

class TestReasonPage : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    std::unique_ptr<Uninstall> m_wizard;
    // The five boxes in form order; their object names change with every delivery.
    QVector<QPointer<QCheckBox>> m_boxes;

    Uninstall* makeWizard(bool testMode = false)
    {
        m_wizard = showWizard(testMode);
        m_boxes.clear();
        for (const char* name : { "option_1", "option_2", "option_3", "option_4", "option_5" })
            m_boxes.append(child<QCheckBox>(m_wizard.get(), name));
        return m_wizard.get();
    }

    void deliver(bool exclusive, const QString& keys, const QMap<QString, QString>& texts = {})
    {
        emit m_wizard->contentProfile()->uninstallCauseEmit(exclusive,
            keys.split(QLatin1Char(','), Qt::SkipEmptyParts).toVector(), texts,
            QStringLiteral("50 million"));
    }

    bool continueEnabled() const { return child(m_wizard.get(), "btnContinue_2")->isEnabled(); }

private slots:
    void initTestCase()
    {
        qApp->setStyleSheet(QStringLiteral("Uninstall { qproperty-textWeight: '700*600'; "
                                           "qproperty-textColor: '#111111*#222222'; }"));
        setUpHost(&m_context);
    }

    void init() { TestEnv::clearLog(); }

    void cleanup()
    {
        m_wizard.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Reaching the uninstalling page makes sure the guard exists; its segment must not outlive
    // the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void appliesCauses_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("textCount");
        QTest::newRow("five keys, three texts") << QStringLiteral("a,b,c,d,e") << 3;
        QTest::newRow("three keys") << QStringLiteral("a,b,c") << 3;
        QTest::newRow("no keys") << QString() << 0;
    }

    void appliesCauses()
    {
        QFETCH(QString, keys);
        QFETCH(int, textCount);
        makeWizard();
        const QStringList keyList = keys.split(QLatin1Char(','), Qt::SkipEmptyParts);
        QMap<QString, QString> texts;
        for (const QString& key : keyList.mid(0, textCount))
            texts.insert(key, key.toUpper());
        deliver(true, keys, texts);

        for (int i = 0; i < 5; ++i) {
            QCheckBox* box = m_boxes.at(i);
            const bool keyed = i < keyList.size();
            QCOMPARE(
                box->objectName(), keyed ? keyList.at(i) : QStringLiteral("option_%1").arg(i + 1));
            QCOMPARE(box->text(), keyed && i < textCount ? keyList.at(i).toUpper() : QString());
            QCOMPARE(box->isEnabled(), keyed);
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
        deliver(exclusive, QStringLiteral("a,b,c,d,e"));
        m_boxes.at(0)->click();
        QVERIFY(continueEnabled());
        m_boxes.at(3)->click();
        QCOMPARE(m_boxes.at(0)->isChecked(), !exclusive);
        QVERIFY(m_boxes.at(3)->isChecked() && continueEnabled());
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
        deliver(true, QStringLiteral("a,b,c,d,e"));
        QButtonGroup* first = m_boxes.at(0)->group();
        QVERIFY(first && first->exclusive());
        m_boxes.at(3)->click();

        // The ticked box loses its cause: it is unticked even though its group was exclusive.
        deliver(true, QStringLiteral("v,w,x"), { { QStringLiteral("v"), QStringLiteral("New") } });
        QCOMPARE(m_boxes.at(0)->text(), QStringLiteral("New"));
        QCOMPARE(m_boxes.at(3)->objectName(), QStringLiteral("option_4"));
        QVERIFY(!m_boxes.at(3)->isChecked() && !continueEnabled());

        QButtonGroup* second = m_boxes.at(0)->group();
        QVERIFY(second && second != first && second->exclusive());
        QCOMPARE(m_boxes.at(2)->group(), second);
        m_boxes.at(0)->click();
        m_boxes.at(2)->click();
        QVERIFY(!m_boxes.at(0)->isChecked() && continueEnabled());
    }

    void reportCarriesTheCauseKeys_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("five causes")
            << QStringList { "a", "b", "c", "d", "e" } << QStringList { "a", "b", "c", "d", "e" };
        QTest::newRow("three causes") << QStringList { "a", "b", "c" }
                                      << QStringList { "a", "b", "c", "option_4", "option_5" };
    }

    void reportCarriesTheCauseKeys()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, reported);
        // Test mode: the uninstalling page is reached without deleting anything.
        Uninstall* wizard = makeWizard(true);
        QVERIFY(walkTo(wizard, Reason, keys));
        QCOMPARE(m_boxes.at(2)->objectName(), QStringLiteral("c"));
        child<QTextEdit>(wizard, "causeEdit")->setPlainText(QStringLiteral("a note"));
        QVERIFY(walkTo(wizard, Uninstalling, keys));

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
