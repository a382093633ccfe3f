// The reason page: causes delivered to the five boxes, the choice that Continue waits for, and
// the cause keys that the first report reads back from the boxes.

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
#include <QTextEdit>
#include <QtTest>

using namespace WizardRunner;

class TestReasonPage : public QObject {
    Q_OBJECT

    UninstallContext m_context;
    std::unique_ptr<Uninstall> m_wizard;

    // The five boxes in form order, before a delivery renames them.
    QVector<QCheckBox*> boxes() const
    {
        QVector<QCheckBox*> found;
        for (const char* name : { "option_1", "option_2", "option_3", "option_4", "option_5" })
            found << child<QCheckBox>(m_wizard.get(), name);
        return found;
    }

    void deliver(bool exclusive, const QString& keys, const QMap<QString, QString>& texts = {})
    {
        emit m_wizard->contentProfile()->uninstallCauseEmit(exclusive,
            keys.split(QLatin1Char(','), Qt::SkipEmptyParts).toVector(), texts,
            QStringLiteral("50 million"));
    }

    bool continueEnabled() const { return child(m_wizard.get(), "btnContinue_2")->isEnabled(); }

    // The wizard in test mode, so that the uninstalling page deletes nothing.
    void openAt(int page, const QStringList& causes = {})
    {
        m_wizard = showWizard(true);
        if (page >= 0)
            QVERIFY(walkTo(m_wizard.get(), Page(page), causes));
    }

private slots:
    void initTestCase()
    {
        qApp->setStyleSheet(QStringLiteral("Uninstall { qproperty-textWeight: '700*600'; "
                                           "qproperty-textColor: '#111111*#222222'; }"));
        setUpHost(&m_context);
    }

    void cleanup()
    {
        m_wizard.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // Reaching the uninstalling page makes sure the guard exists; its segment must not outlive
    // the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void causesApplied_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("textCount");
        QTest::newRow("five keys, three texts") << QStringLiteral("a,b,c,d,e") << 3;
        QTest::newRow("three keys") << QStringLiteral("a,b,c") << 3;
        QTest::newRow("no keys") << QString() << 0;
    }

    void causesApplied()
    {
        QFETCH(QString, keys);
        QFETCH(int, textCount);
        openAt(-1);
        const QVector<QCheckBox*> box = boxes();
        const QStringList keyList = keys.split(QLatin1Char(','), Qt::SkipEmptyParts);
        QMap<QString, QString> texts;
        for (const QString& key : keyList.mid(0, textCount))
            texts.insert(key, key.toUpper());
        deliver(true, keys, texts);
        for (int i = 0; i < 5; ++i) {
            const bool keyed = i < keyList.size();
            QCOMPARE(box.at(i)->objectName(),
                keyed ? keyList.at(i) : QStringLiteral("option_%1").arg(i + 1));
            QCOMPARE(box.at(i)->text(), texts.value(keyList.value(i)));
            QCOMPARE(box.at(i)->isEnabled(), keyed);
        }
        QVERIFY(child(m_wizard.get(), "causeEdit")->isEnabled() && !continueEnabled());
        QVERIFY(child<QLabel>(m_wizard.get(), "hintLab")
                    ->text()
                    .contains(QStringLiteral("color:#222222;'>50 million</span> users")));
    }

    // Continue needs a ticked box; one cause or several, as the delivery says. A new delivery
    // replaces the group and unticks a box whose cause went, exclusive group or not.
    void choice_data()
    {
        QTest::addColumn<bool>("exclusive");
        QTest::newRow("one cause") << true;
        QTest::newRow("several causes") << false;
    }

    void choice()
    {
        QFETCH(bool, exclusive);
        openAt(-1);
        const QVector<QCheckBox*> box = boxes();
        deliver(exclusive, QStringLiteral("a,b,c,d,e"));
        box.at(0)->click();
        QVERIFY(continueEnabled());
        box.at(3)->click();
        QCOMPARE(box.at(0)->isChecked(), !exclusive);
        QVERIFY(box.at(3)->isChecked() && continueEnabled());
        if (!exclusive) {
            box.at(0)->click();
            box.at(3)->click();
            QVERIFY(!continueEnabled());
            return;
        }
        QButtonGroup* first = box.at(0)->group();
        deliver(true, QStringLiteral("v,w,x"), { { QStringLiteral("v"), QStringLiteral("New") } });
        QCOMPARE(box.at(0)->text(), QStringLiteral("New"));
        QCOMPARE(box.at(3)->objectName(), QStringLiteral("option_4"));
        QVERIFY(!box.at(3)->isChecked() && !continueEnabled());
        QButtonGroup* second = box.at(0)->group();
        QVERIFY(second && second != first && second->exclusive() && box.at(2)->group() == second);
        box.at(0)->click();
        box.at(2)->click();
        QVERIFY(!box.at(0)->isChecked() && continueEnabled());
    }

    // Each box's key, ticked or not ("c" is), then the note.
    void reportCarriesTheCauseKeys_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("reported");
        QTest::newRow("five causes")
            << QStringList { "a", "b", "c", "d", "e" } << "a b c=ticked d e a note";
        QTest::newRow("three causes")
            << QStringList { "a", "b", "c" } << "a b c=ticked option_4 option_5 a note";
    }

    void reportCarriesTheCauseKeys()
    {
        QFETCH(QStringList, keys);
        openAt(Reason, keys);
        child<QTextEdit>(m_wizard.get(), "causeEdit")->setPlainText(QStringLiteral("a note"));
        QVERIFY(walkTo(m_wizard.get(), Uninstalling, keys));
        QStringList found;
        const QJsonArray causes = QJsonDocument::fromJson(m_wizard->firstReport())
                                      .object()
                                      .value(QStringLiteral("uninstallCause"))
                                      .toArray();
        for (const QJsonValue cause : causes) {
            const QJsonObject box = cause.toObject();
            found << (cause.isString() ? cause.toString()
                                       : box.keys().join(QLatin1Char('+'))
                        + (box.value(box.keys().value(0)).toBool() ? QStringLiteral("=ticked")
                                                                   : QString()));
        }
        QTEST(found.join(QLatin1Char(' ')), "reported");
    }
};

UNINSTALL_TEST_MAIN(TestReasonPage)
#include "tst_reasonpage.moc"
