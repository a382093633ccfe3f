#include "testenvironment.h"

#include "widgets/customtextedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

class TestCustomTextEdit : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void hintStepsAsideWhileClickedIn_data()
    {
        // Ways in: "c" a click into the editor, "t" a tab from the line edit before it.
        QTest::addColumn<QString>("entries");
        QTest::addColumn<bool>("leaveByTab");
        QTest::addColumn<bool>("hintInside");

        QTest::newRow("click in, click elsewhere") << "c" << false << false;
        QTest::newRow("click in, tab out") << "c" << true << false;
        QTest::newRow("tab in, tab out") << "t" << true << true;
        QTest::newRow("tab in, click, click elsewhere") << "tc" << false << false;
    }

    void hintStepsAsideWhileClickedIn()
    {
        QFETCH(QString, entries);
        QFETCH(bool, leaveByTab);
        QFETCH(bool, hintInside);

        const QString hint
            = QStringLiteral("Please leave your suggestions or questions (optional)");
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* other = new QLineEdit(&window);
        auto* editor = new CustomTextEdit(&window);
        layout->addWidget(other);
        layout->addWidget(editor);
        editor->setPlaceholderText(hint);
        editor->setTabChangesFocus(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());

        for (const QChar entry : entries) {
            if (entry == QLatin1Char('c'))
                QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            else
                QTest::keyClick(other, Qt::Key_Tab);
            QTRY_VERIFY(editor->hasFocus());
        }
        QCOMPARE(editor->placeholderText(), hintInside ? hint : QString());

        if (leaveByTab)
            QTest::keyClick(editor, Qt::Key_Tab);
        else
            QTest::mouseClick(other, Qt::LeftButton);
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(editor->placeholderText(), hint);
    }
};

UNINSTALL_TEST_MAIN(TestCustomTextEdit)
#include "tst_customtextedit.moc"
