// The wizard window's form: the skin styles the window by object name and the window reaches
// its widgets through the form, so class, name, place and the few values the form sets are a
// contract that this test pins down.

#include "formwalk.h"
#include "testenvironment.h"
#include "ui_uninstallwindow.h"
#include "uninstallwindowformdata.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSet>
#include <QStackedWidget>
#include <QTest>
#include <QTranslator>

#include <memory>

Q_DECLARE_METATYPE(QMargins)

namespace {

// Marks every translation with its context, so a test sees which texts went through it.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QStringLiteral("[%1] %2").arg(QLatin1String(context), QString::fromUtf8(sourceText));
    }
};

} // namespace

class TestUninstallWindowForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void widgetTree_data();
    void widgetTree();
    void noWidgetsBeyondTheTree();
    void stackPages_data();
    void stackPages();
    void layouts_data();
    void layouts();
    void noLayoutsBeyondTheList();
    void frameShapes_data();
    void frameShapes();
    void focusPolicies_data();
    void focusPolicies();
    void labels_data();
    void labels();
    void sizePolicies_data();
    void sizePolicies();
    void cursors_data();
    void cursors();
    void optionsAreIndependentTwoStateBoxes();
    void windowAndSingleSettings();
    void texts_data();
    void texts();
    void updateTipKeepsLineHeightPlaceholder();
    void retranslationCoversEveryText();
    void languageChooserItems();

private:
    // The window itself or the one widget of the form with that name.
    template <typename T = QWidget> T* widget(const char* name) const
    {
        const QString key = QString::fromLatin1(name);
        if (key == window->objectName())
            return qobject_cast<T*>(window.get());
        const QList<QWidget*> found = named.value(key);
        return found.size() == 1 ? qobject_cast<T*>(found.first()) : nullptr;
    }

    std::unique_ptr<QWidget> window;
    Ui::UnInstallWindow ui;
    QHash<QString, QList<QWidget*>> named;
};

void TestUninstallWindowForm::initTestCase()
{
    window = std::make_unique<QWidget>();
    ui.setupUi(window.get());
    named = FormWalk::formWidgets(window.get());
}

void TestUninstallWindowForm::cleanupTestCase()
{
    named.clear();
    window.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestUninstallWindowForm::widgetTree_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parent");
    for (const FormData::Node& node : FormData::tree)
        QTest::newRow(node.name) << node.className << node.parent;
}

void TestUninstallWindowForm::widgetTree()
{
    QFETCH(QString, className);
    QFETCH(QString, parent);
    const QList<QWidget*> found = named.value(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(found.size(), 1);
    QCOMPARE(FormWalk::classOf(found.first()), className);
    QVERIFY(found.first()->parentWidget());
    QCOMPARE(found.first()->parentWidget()->objectName(), parent);
}

void TestUninstallWindowForm::noWidgetsBeyondTheTree()
{
    QSet<QString> expected;
    for (const FormData::Node& node : FormData::tree)
        expected.insert(QLatin1String(node.name));
    QStringList unexpected;
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        if (!expected.contains(it.key()))
            unexpected << it.key();
    }
    QCOMPARE(unexpected, QStringList());
}

void TestUninstallWindowForm::stackPages_data()
{
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<int>("currentIndex");
    // The window moves the outer stack to the loading page itself, right after the form.
    QTest::newRow("processPage") << QStringList { "loadingPage", "purchasePage", "causePage_1",
        "uninstallPag" } << 3;
    QTest::newRow("causePage_2") << QStringList { "causePage", "updatePage" } << 0;
}

void TestUninstallWindowForm::stackPages()
{
    QFETCH(QStringList, pages);
    QFETCH(int, currentIndex);
    auto* stack = widget<QStackedWidget>(QTest::currentDataTag());
    QVERIFY(stack);
    QStringList actual;
    for (int i = 0; i < stack->count(); ++i)
        actual << stack->widget(i)->objectName();
    QCOMPARE(actual, pages);
    QCOMPARE(stack->currentIndex(), currentIndex);
}

void TestUninstallWindowForm::layouts_data()
{
    QTest::addColumn<QString>("layoutClass");
    QTest::addColumn<QString>("layoutName");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QMargins>("margins");
    QTest::addColumn<QStringList>("items");
    for (const FormData::LayoutSpec& spec : FormData::layouts) {
        QTest::newRow(spec.container)
            << (spec.direction == 'V' ? "QVBoxLayout" : "QHBoxLayout") << spec.name << spec.spacing
            << QMargins(0, spec.topMargin, 0, 0)
            << QString::fromLatin1(spec.items).split(QStringLiteral(", "));
    }
}

void TestUninstallWindowForm::layouts()
{
    QFETCH(QString, layoutClass);
    QFETCH(QString, layoutName);
    QFETCH(int, spacing);
    QFETCH(QMargins, margins);
    QFETCH(QStringList, items);

    QWidget* owner = widget(QTest::currentDataTag());
    QVERIFY(owner);
    QLayout* layout = owner->layout();
    QVERIFY(layout);
    QCOMPARE(QString::fromLatin1(layout->metaObject()->className()), layoutClass);
    if (!layoutName.isEmpty())
        QCOMPARE(layout->objectName(), layoutName);
    QCOMPARE(layout->spacing(), spacing);
    QCOMPARE(layout->contentsMargins(), margins);
    QStringList actual;
    for (int i = 0; i < layout->count(); ++i)
        actual << FormWalk::describeItem(layout->itemAt(i));
    QCOMPARE(actual, items);
}

void TestUninstallWindowForm::noLayoutsBeyondTheList()
{
    QSet<QString> listed;
    for (const FormData::LayoutSpec& spec : FormData::layouts)
        listed.insert(QLatin1String(spec.container));
    // A stacked widget's own layout holds its pages, which the page order test covers.
    QStringList unlisted;
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        for (QWidget* w : it.value()) {
            if (FormWalk::isFormContainer(w) && w->layout() && !qobject_cast<QStackedWidget*>(w)
                && !listed.contains(it.key()))
                unlisted << it.key();
        }
    }
    QCOMPARE(unlisted, QStringList());
}

void TestUninstallWindowForm::frameShapes_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("shadow");
    const QSet<QString> styled { "frmPurchaseBtn", "frmInfo", "frameInfo", "frmUpdateInfo" };
    for (const FormData::Node& node : FormData::tree) {
        const QString className = QLatin1String(node.className);
        if (className != QLatin1String("QFrame") && !className.startsWith(QLatin1String("FrmInfo")))
            continue;
        const bool raised = styled.contains(QLatin1String(node.name));
        QTest::newRow(node.name) << int(raised ? QFrame::StyledPanel : QFrame::NoFrame)
                                 << int(raised ? QFrame::Raised : QFrame::Plain);
    }
}

void TestUninstallWindowForm::frameShapes()
{
    QFETCH(int, shape);
    QFETCH(int, shadow);
    auto* frame = widget<QFrame>(QTest::currentDataTag());
    QVERIFY(frame);
    QCOMPARE(int(frame->frameShape()), shape);
    QCOMPARE(int(frame->frameShadow()), shadow);
}

void TestUninstallWindowForm::focusPolicies_data()
{
    QTest::addColumn<int>("policy");
    const QSet<QString> noFocus { "QPushButton", "QToolButton", "QComboBox" };
    const QSet<QString> clickFocus { "QCheckBox", "CustomTextEdit", "QLineEdit" };
    for (const FormData::Node& node : FormData::tree) {
        if (noFocus.contains(QLatin1String(node.className)))
            QTest::newRow(node.name) << int(Qt::NoFocus);
        else if (clickFocus.contains(QLatin1String(node.className)))
            QTest::newRow(node.name) << int(Qt::ClickFocus);
    }
}

void TestUninstallWindowForm::focusPolicies()
{
    QFETCH(int, policy);
    QWidget* w = widget(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(int(w->focusPolicy()), policy);
}

void TestUninstallWindowForm::labels_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("wordWrap");
    const QSet<QString> centred { "titleLogo", "loadingLab", "purchaseLab", "purchaseBtn",
        "hintImg", "hintLab", "updateImg", "updateLab", "updateTipImg", "updateTipLab" };
    const QSet<QString> wrapped { "purchaseLab", "hintLab", "causeTitle", "updateLab",
        "updateTipLab", "thinkLab", "label_2", "emailLable" };
    for (const FormData::Node& node : FormData::tree) {
        const QString className = QLatin1String(node.className);
        // The loading label aligns its picture itself.
        if (className != QLatin1String("QLabel") && className != QLatin1String("cusIconLabel"))
            continue;
        const QString name = QLatin1String(node.name);
        const Qt::Alignment alignment
            = centred.contains(name) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
        QTest::newRow(node.name) << int(alignment) << wrapped.contains(name);
    }
}

void TestUninstallWindowForm::labels()
{
    QFETCH(int, alignment);
    QFETCH(bool, wordWrap);
    auto* label = widget<QLabel>(QTest::currentDataTag());
    QVERIFY(label);
    QCOMPARE(int(label->alignment()), alignment);
    QCOMPARE(label->wordWrap(), wordWrap);
}

void TestUninstallWindowForm::sizePolicies_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    const int preferred = QSizePolicy::Preferred;
    const int expanding = QSizePolicy::Expanding;
    const int fixed = QSizePolicy::Fixed;
    for (const char* name : { "UnInstallWindow", "purchaseBtn1", "frameButtom_1", "btnContinue_1",
             "btnCancel_1", "option_3", "causeEdit" })
        QTest::newRow(name) << preferred << preferred;
    for (const char* name : { "frameTitle", "frameEntry", "processPage" })
        QTest::newRow(name) << preferred << expanding;
    for (const char* name : { "option_1", "option_2", "option_4", "option_5" })
        QTest::newRow(name) << fixed << fixed;
}

void TestUninstallWindowForm::sizePolicies()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QWidget* w = widget(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(int(w->sizePolicy().horizontalPolicy()), horizontal);
    QCOMPARE(int(w->sizePolicy().verticalPolicy()), vertical);
}

void TestUninstallWindowForm::cursors_data()
{
    QTest::addColumn<int>("shape");
    // framePurchase takes the clicks for the offer picture but keeps the ordinary arrow.
    QTest::newRow("framePurchase") << int(Qt::ArrowCursor);
    for (const char* name : { "purchaseBtn1", "frameCauseTip", "discountBg", "btnDiscount" })
        QTest::newRow(name) << int(Qt::PointingHandCursor);
}

void TestUninstallWindowForm::cursors()
{
    QFETCH(int, shape);
    QWidget* w = widget(QTest::currentDataTag());
    QVERIFY(w);
    QVERIFY(w->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(int(w->cursor().shape()), shape);
}

void TestUninstallWindowForm::optionsAreIndependentTwoStateBoxes()
{
    for (QCheckBox* box : { ui.option_1, ui.option_2, ui.option_3, ui.option_4, ui.option_5 }) {
        QVERIFY2(!box->isTristate(), qPrintable(box->objectName()));
        QVERIFY2(!box->autoExclusive(), qPrintable(box->objectName()));
        QVERIFY2(!box->group(), qPrintable(box->objectName()));
    }
}

void TestUninstallWindowForm::windowAndSingleSettings()
{
    QCOMPARE(window->objectName(), QStringLiteral("UnInstallWindow"));
    QCOMPARE(window->size(), QSize(857, 591));
    QVERIFY(window->windowTitle().isEmpty());

    const QFont linkFont = ui.framePurchaseUrl->font();
    QVERIFY(linkFont.resolve() & QFont::UnderlineResolved);
    QVERIFY(linkFont.resolve() & QFont::KerningResolved);
    QVERIFY(!linkFont.underline());
    QVERIFY(!linkFont.kerning());
    QCOMPARE(ui.framePurchaseUrl->minimumSize(), QSize(0, 10));
    QVERIFY(ui.purchaseLab->font().resolve() & QFont::KerningResolved);
    QVERIFY(ui.purchaseLab->font().kerning());

    QCOMPARE(ui.progressBar->value(), 24);
    QVERIFY(!ui.progressBar->isTextVisible());
    QCOMPARE(ui.comboBox->sizeAdjustPolicy(), QComboBox::AdjustToContentsOnFirstShow);
}

void TestUninstallWindowForm::texts_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("text");
    for (const FormData::FormText& text : FormData::texts)
        QTest::addRow("%s %s", text.object, text.property)
            << QByteArray(text.property) << QString::fromUtf8(text.source);
}

void TestUninstallWindowForm::texts()
{
    QFETCH(QByteArray, property);
    QFETCH(QString, text);
    const QByteArray tag = QTest::currentDataTag();
    QObject* object = widget(tag.left(tag.indexOf(' ')).constData());
    QVERIFY(object);
    QCOMPARE(object->property(property.constData()).toString(), text);
}

void TestUninstallWindowForm::updateTipKeepsLineHeightPlaceholder()
{
    const QString tip = ui.updateTipLab->text();
    QCOMPARE(tip.count(QStringLiteral("%1")), 1);
    QVERIFY(tip.arg(QStringLiteral("24px")).contains(QStringLiteral("line-height: 24px")));
}

// Every text of the form goes through the translator in the form's context, and retranslating
// clears whatever the window wrote into the other labels and buttons.
void TestUninstallWindowForm::retranslationCoversEveryText()
{
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QWidget marked;
    Ui::UnInstallWindow form;
    form.setupUi(&marked);
    const auto markedWidgets = FormWalk::formWidgets(&marked);

    QSet<QString> translated;
    for (const FormData::FormText& text : FormData::texts)
        translated.insert(QLatin1String(text.object));
    QList<QObject*> others;
    for (const FormData::Node& node : FormData::tree) {
        QObject* object = markedWidgets.value(QLatin1String(node.name)).value(0);
        if (!translated.contains(QLatin1String(node.name))
            && (qobject_cast<QLabel*>(object) || qobject_cast<QAbstractButton*>(object))) {
            object->setProperty("text", QStringLiteral("set at run time"));
            others << object;
        }
    }
    form.retranslateUi(&marked);
    QCoreApplication::removeTranslator(&translator);

    for (const FormData::FormText& text : FormData::texts) {
        const QString source = QString::fromUtf8(text.source);
        const QString expected
            = source.isEmpty() ? QString() : QStringLiteral("[UnInstallWindow] ") + source;
        QObject* object = markedWidgets.value(QLatin1String(text.object)).value(0);
        QVERIFY(object);
        QCOMPARE(object->property(text.property).toString(), expected);
    }
    QVERIFY(!others.isEmpty());
    for (QObject* object : qAsConst(others))
        QVERIFY2(object->property("text").toString().isEmpty(), qPrintable(object->objectName()));
    QCOMPARE(form.comboBox->itemText(0), QStringLiteral("en"));
}

void TestUninstallWindowForm::languageChooserItems()
{
    QStringList items;
    for (int i = 0; i < ui.comboBox->count(); ++i)
        items << ui.comboBox->itemText(i);
    QCOMPARE(items, FormData::languageCodes);
    QCOMPARE(items.size(), 23);
    QCOMPARE(items.first(), QStringLiteral("en"));
    QCOMPARE(items.last(), QStringLiteral("ko"));
    QCOMPARE(items.at(8 - 1), QStringLiteral("zh_CN"));
    QCOMPARE(items.at(9 - 1), QStringLiteral("zh_TW"));
}

UNINSTALL_TEST_MAIN(TestUninstallWindowForm)

#include "tst_uninstallwindowform.moc"
