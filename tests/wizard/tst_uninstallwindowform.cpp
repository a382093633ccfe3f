// The wizard window's form: the skin styles the window by object name and the window reaches
// its widgets through the form, so every widget's name, class and place, and the form's texts,
// are a contract that this test pins down.

#include "testenvironment.h"
#include "ui_uninstallwindow.h"

#include "widgets/customtextedit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStackedLayout>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

// Each container of the form with its layout ('V'ertical, 'H'orizontal or 'S'tack of pages)
// and its items in order: widgets as "class name", spacers by the direction they stretch in
// (with their size when it is not 0x0), " centred" for items added with AlignCenter.
const char* const kLayouts[][2] = {
    { "UnInstallWindow", "V QFrame ternMainWindowClient" },
    { "ternMainWindowClient", "V QFrame frameTitle, QFrame frameEntry, QFrame changeLangFrame" },
    { "frameTitle", "H cusIconLabel titleLogo, QLabel titleLab, hspacer, QToolButton btnClose" },
    { "frameEntry", "V QStackedWidget processPage" },
    { "processPage",
        "S QWidget loadingPage, QWidget purchasePage, QWidget causePage_1, QWidget uninstallPag" },
    { "loadingPage", "V QFrame frameloading centred" },
    { "frameloading", "H hspacer, QLabel loadingLab, LoadingLabel lblLoadingPng centred, hspacer" },
    { "purchasePage", "V QFrame purchaseBackground" },
    { "purchaseBackground",
        "V QFrame framePurchaseLab, QFrame frame, QFrame framePurchaseUrl centred, vspacer, "
        "QFrame frameButtom_1" },
    { "framePurchaseLab", "H QLabel purchaseLab" },
    { "frame", "H hspacer, QFrame framePurchase centred, hspacer" },
    { "framePurchase",
        "V QPushButton purchaseImg centred, QPushButton purchaseBtn1 centred, "
        "QFrame frmPurchaseBtn centred" },
    { "frmPurchaseBtn", "V QLabel purchaseBtn centred" },
    { "framePurchaseUrl", "H hspacer, FrmInfo frmInfo centred, hspacer" },
    { "frameButtom_1", "H hspacer, QPushButton btnContinue_1, QPushButton btnCancel_1" },
    { "causePage_1", "V QFrame frameCauseTip, QStackedWidget causePage_2" },
    { "frameCauseTip", "H QFrame discountBg" },
    { "discountBg", "H hspacer, QPushButton btnDiscount" },
    { "causePage_2", "S QWidget causePage, QWidget updatePage" },
    { "causePage", "H QFrame CauseLeftBg, QFrame frameMiddle, QFrame causeRightBg" },
    { "CauseLeftBg", "V QFrame framHintImg, QFrame frameHintLab, vspacer" },
    { "framHintImg", "H hspacer, QLabel hintImg, hspacer" },
    { "frameHintLab", "H hspacer, QLabel hintLab, hspacer" },
    { "causeRightBg",
        "V QFrame frameCauseTitle, QFrame frameOption, QFrame frameCauseEdit, vspacer, "
        "QFrame frameButtom_2" },
    { "frameCauseTitle", "H QLabel causeTitle, hspacer" },
    { "frameOption", "H QFrame optionFrame, hspacer" },
    { "optionFrame",
        "V QFrame frameOption_1, QFrame frameOption_2, QFrame frameOption_3, "
        "QFrame frameOption_4, QFrame frameOption_5" },
    { "frameOption_1", "H QCheckBox option_1, QLabel optionLab_1" },
    { "frameOption_2", "H QCheckBox option_2, QLabel optionLab_2" },
    { "frameOption_3", "H QCheckBox option_3, QLabel optionLab_3" },
    { "frameOption_4", "H QCheckBox option_4, QLabel optionLab_4" },
    { "frameOption_5", "H QCheckBox option_5, QLabel optionLab_5" },
    { "frameCauseEdit", "H CustomTextEdit causeEdit, hspacer" },
    { "frameButtom_2", "H hspacer, QPushButton btnContinue_2, QPushButton btnCancel_2" },
    { "updatePage", "H QFrame updateLeftBg, QFrame updateRightBg" },
    { "updateLeftBg",
        "V QFrame frameUpdateImg, QFrame frameUpdateLab_2, QFrame frameInfo, vspacer" },
    { "frameUpdateImg", "H hspacer, QLabel updateImg, hspacer" },
    { "frameUpdateLab_2", "H hspacer, QLabel updateLab, hspacer" },
    { "frameInfo", "H hspacer, FrmInfo2 frmUpdateInfo, hspacer" },
    { "updateRightBg",
        "V QFrame horizontalFrame, QFrame horizontalFrame_2, vspacer, QFrame frameButtom_3" },
    { "horizontalFrame", "H hspacer, QLabel updateTipImg, hspacer" },
    { "horizontalFrame_2", "H hspacer, QLabel updateTipLab, hspacer" },
    { "frameButtom_3",
        "H hspacer, QPushButton btnContinue_3, QPushButton btnUpdate, QPushButton btnCancel_3" },
    { "uninstallPag", "V QFrame processFrame, vspacer, QFrame frameButtom_4" },
    { "processFrame", "H hspacer, QFrame processBackgrround, hspacer" },
    { "processBackgrround",
        "V QFrame thinkBg, QLabel lblRemovalNote, QFrame frameRecTitle, ClickedStackedWidget "
        "recWidget, "
        "QFrame processBarTitle, QFrame frameBar, QFrame emailTitle, QFrame frameEmail" },
    { "thinkBg",
        "H hspacer 50x0, QLabel lblUninstalling, QLabel lblUninstallEnd, QLabel thinkLab, "
        "hspacer 50x0" },
    { "frameRecTitle", "H QLabel label, hspacer" },
    { "processBarTitle", "H QLabel label_2, hspacer" },
    { "frameBar", "H QProgressBar progressBar" },
    { "emailTitle", "H QLabel emailLable, hspacer" },
    { "frameEmail", "H QLabel label_3, QLineEdit emailEdit, hspacer" },
    { "frameButtom_4", "H hspacer, QPushButton btnComplete" },
    { "changeLangFrame", "H hspacer, QComboBox comboBox, hspacer" },
};

// The form's texts: object, property, source text (an empty one is cleared, not translated).
const char* const kTexts[][3] = {
    { "purchaseBtn1", "text", "Buy Now" },
    { "btnContinue_1", "text", "Continue" },
    { "btnContinue_2", "text", "Continue" },
    { "btnContinue_3", "text", "Continue" },
    { "btnCancel_1", "text", "Cancel" },
    { "btnCancel_2", "text", "Cancel" },
    { "btnCancel_3", "text", "Cancel" },
    { "btnDiscount", "text", "Buy Now" },
    { "causeTitle", "text",
        "Please leave your reason about why you want to uninstall it. We will make every effort to "
        "optimize the program." },
    { "causeEdit", "placeholderText", "Please leave your suggestions or questions (optional)" },
    { "updateLab", "text", "The latest version is faster and more stable" },
    { "updateTipLab", "text",
        "<html><head/><body><p style='line-height: %1'>We found that your program is not the "
        "latest version. That may be the cause of the issue you are experiencing. Do you want to "
        "upgrade now?</p></body></html>" },
    { "btnUpdate", "text", "Upgrade Now" },
    { "label", "text", "More apps you may like:" },
    { "label_2", "text", "Uninstalling, please wait..." },
    { "emailLable", "text",
        "Please leave your email address. We will contact you once the problem is solved." },
    { "label_3", "text", "Email:" },
    { "emailEdit", "placeholderText", "" },
    { "btnComplete", "text", "Done" },
};

// Marks every translation with its context, so a test sees which texts went through it.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QStringLiteral("[%1] %2").arg(QLatin1String(context), QString::fromUtf8(sourceText));
    }
};

// The class the form names: CustomTextEdit has no meta object of its own.
QString classOf(const QWidget* widget)
{
    if (dynamic_cast<const CustomTextEdit*>(widget))
        return QStringLiteral("CustomTextEdit");
    return QString::fromLatin1(widget->metaObject()->className());
}

// The widgets below root, without looking inside composite and custom widgets, whose own
// children are not the form's business.
void collect(QWidget* root, QList<QWidget*>& found)
{
    const auto children = root->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        found.append(child);
        const QString name = classOf(child);
        if (name == QLatin1String("QWidget") || name == QLatin1String("QFrame")
            || name == QLatin1String("QStackedWidget"))
            collect(child, found);
    }
}

QString describe(const QLayout* layout)
{
    QString text = qobject_cast<const QStackedLayout*>(layout) ? QStringLiteral("S ")
        : qobject_cast<const QVBoxLayout*>(layout)             ? QStringLiteral("V ")
        : qobject_cast<const QHBoxLayout*>(layout)             ? QStringLiteral("H ")
                                                               : QStringLiteral("? ");
    QStringList items;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        QString entry = QStringLiteral("nested layout");
        if (const QWidget* widget = item->widget()) {
            entry = classOf(widget) + QLatin1Char(' ') + widget->objectName();
        } else if (QSpacerItem* spacer = item->spacerItem()) {
            const Qt::Orientations stretch = spacer->expandingDirections();
            entry = stretch == Qt::Horizontal ? QStringLiteral("hspacer")
                : stretch == Qt::Vertical     ? QStringLiteral("vspacer")
                                              : QStringLiteral("spacer");
            if (!spacer->sizeHint().isNull())
                entry += QStringLiteral(" %1x%2")
                             .arg(spacer->sizeHint().width())
                             .arg(spacer->sizeHint().height());
        }
        if (item->alignment() == Qt::AlignCenter)
            entry += QStringLiteral(" centred");
        else if (item->alignment() != 0)
            entry += QStringLiteral(" aligned");
        items << entry;
    }
    return text + items.join(QStringLiteral(", "));
}

} // namespace

class TestUninstallWindowForm : public QObject {
    Q_OBJECT

private:
    MarkingTranslator m_translator;
    std::unique_ptr<QWidget> m_window;
    Ui::UnInstallWindow m_form;
    QList<QWidget*> m_widgets;

    QWidget* widget(const QString& name) const
    {
        if (name == m_window->objectName())
            return m_window.get();
        QWidget* found = nullptr;
        for (QWidget* candidate : m_widgets) {
            if (candidate->objectName() == name) {
                if (found)
                    return nullptr;
                found = candidate;
            }
        }
        return found;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QCoreApplication::installTranslator(&m_translator));
        m_window = std::make_unique<QWidget>();
        m_form.setupUi(m_window.get());
        collect(m_window.get(), m_widgets);
    }

    void cleanupTestCase()
    {
        QCoreApplication::removeTranslator(&m_translator);
        m_window.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void layouts_data()
    {
        QTest::addColumn<QString>("items");
        for (const auto& row : kLayouts)
            QTest::newRow(row[0]) << QString::fromLatin1(row[1]);
    }

    // Every widget of the form sits, with its class, in the layout of its container.
    void layouts()
    {
        QFETCH(QString, items);
        QWidget* container = widget(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(container && container->layout());
        QCOMPARE(describe(container->layout()), items);
    }

    // ...and nothing else: no widget outside a listed layout, no name twice.
    void everyWidgetListed()
    {
        QStringList listed;
        for (const auto& row : kLayouts) {
            const QStringList items
                = QString::fromLatin1(row[1]).mid(2).split(QStringLiteral(", "));
            for (const QString& item : items) {
                const QStringList words = item.split(QLatin1Char(' '));
                if (!item.contains(QLatin1String("spacer")))
                    listed << words.value(1);
            }
        }
        QStringList found;
        for (const QWidget* w : qAsConst(m_widgets))
            found << w->objectName();
        listed.sort();
        found.sort();
        QCOMPARE(found, listed);
    }

    void texts_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("text");
        for (const auto& row : kTexts) {
            const QString source = QString::fromUtf8(row[2]);
            // Every text goes through the translator in the form's context.
            QTest::addRow("%s %s", row[0], row[1])
                << QByteArray(row[1])
                << (source.isEmpty() ? QString() : QStringLiteral("[UnInstallWindow] ") + source);
        }
    }

    void texts()
    {
        QFETCH(QByteArray, property);
        QFETCH(QString, text);
        const QByteArray tag = QTest::currentDataTag();
        QWidget* object = widget(QString::fromLatin1(tag.left(tag.indexOf(' '))));
        QVERIFY(object);
        QCOMPARE(object->property(property.constData()).toString(), text);
    }

    // Retranslating clears whatever the window wrote into the other labels and buttons, and
    // leaves the language codes of the chooser as they are.
    void retranslation()
    {
        QSet<QString> withText;
        for (const auto& row : kTexts)
            withText.insert(QString::fromLatin1(row[0]));
        QList<QWidget*> others;
        for (QWidget* w : qAsConst(m_widgets)) {
            if (!withText.contains(w->objectName())
                && (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) {
                w->setProperty("text", QStringLiteral("set at run time"));
                others << w;
            }
        }
        QVERIFY(!others.isEmpty());
        m_form.retranslateUi(m_window.get());
        for (QWidget* w : qAsConst(others))
            QVERIFY2(w->property("text").toString().isEmpty(), qPrintable(w->objectName()));
        QCOMPARE(m_form.btnComplete->text(), QStringLiteral("[UnInstallWindow] Done"));

        QStringList items;
        for (int i = 0; i < m_form.comboBox->count(); ++i)
            items << m_form.comboBox->itemText(i);
        QCOMPARE(items,
            QString::fromLatin1("en de fr it ja es pt zh_CN zh_TW ru tr ar cs da el fi hu nl no pl "
                                "sv ur ko")
                .split(QLatin1Char(' ')));
    }
};

UNINSTALL_TEST_MAIN(TestUninstallWindowForm)
#include "tst_uninstallwindowform.moc"
