// Every page in every shipped language at 100 % and 150 %, with the product's skin, as a user
// and a screen reader meet it: no text cut off or left in English, no widget over another,
// nothing wrapping at 150 % that fits at 100 %, every control named and reached by Tab in reading
// order, every object the skin styles there. Then the same wizard walked with the keyboard (and
// the suggestion box's hint under clicks), and the catalogues against their sources.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/startupfont.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/waits.h"
#include "removal/checkclosedlg.h"
#include "wizard/uninstall.h"

#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsingleinstance.h"

#include <QtTest>
#include <QtWidgets>

using namespace WizardRunner;

namespace {

enum Stop { Loading, HomePage, ReasonPage, UpdatePage, Dialog, RemovalPage, Finished };
const char* const kStops[]
    = { "loading", "home", "reason", "update offer", "dialog", "removal", "finished" };
// The sample product recommends four applications: one page, no arrows.
const QString kCards = QStringLiteral("btnRecUrl btnRecUrl btnRecUrl btnRecUrl");
const QStringList kTabOrder { QString(),
    QStringLiteral("btnClose frmPurchaseBtn btnContinue_1 btnCancel_1 comboBox"),
    QStringLiteral("btnClose btnDiscount slow crash price features other causeEdit btnContinue_2 "
                   "btnCancel_2 comboBox"),
    QStringLiteral("btnClose btnDiscount btnContinue_3 btnUpdate btnCancel_3 comboBox"),
    QStringLiteral("btnClose btnContinue btnCancel"),
    QStringLiteral("btnClose ") + kCards + QStringLiteral(" btnComplete comboBox"),
    QStringLiteral("btnClose ") + kCards + QStringLiteral(" emailEdit btnComplete comboBox") };
// Placed on the promotion picture's corner on purpose.
const QString kSticker = QStringLiteral("uninstall_Sticker1");

QStringList matches(const QString& text, const char* pattern)
{
    QStringList found;
    auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    return found;
}

// What a translation keeps of its source: the placeholders, the markup and a trailing space.
QString form(const QString& text)
{
    QStringList placeholders = matches(text, "%\\d+");
    placeholders.sort();
    return placeholders.join(QLatin1Char(' ')) + matches(text, "<[^>]*>").join(QString())
        + (text.endsWith(QLatin1Char(' ')) ? QStringLiteral(" trailing space") : QString());
}

// "context|source" to the translation, empty while unfinished or gone from the sources.
QMap<QString, QString> readCatalogue(const QString& language)
{
    QFile file(
        QFINDTESTDATA(QStringLiteral("../../product/translations/uninstall_%1.ts").arg(language)));
    file.open(QIODevice::ReadOnly); // else the reader fails
    QMap<QString, QString> messages;
    QXmlStreamReader xml(&file);
    QString context, key;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            key = context + QLatin1Char('|') + xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            messages.insert(key,
                xml.attributes().value(QLatin1String("type")).isEmpty() ? xml.readElementText()
                                                                        : QString());
    }
    return xml.hasError() ? QMap<QString, QString>() : messages;
}

// A catalogue against the English one, which lists the source texts: every text translated
// with the placeholders, markup and trailing space of its source. `english` gets the sources
// translated otherwise, as patterns of what a window shows.
QStringList catalogueFaults(const QString& language, QVector<QRegularExpression>* english)
{
    const QMap<QString, QString> messages = readCatalogue(language);
    const QStringList sources = readCatalogue(QStringLiteral("en")).keys();
    QStringList faults;
    if (sources.isEmpty() || messages.keys() != sources)
        faults << QStringLiteral("other messages than the English catalogue");
    for (auto it = messages.cbegin(); it != messages.cend(); ++it) {
        const QString source = it.key().section(QLatin1Char('|'), 1);
        if (it->isEmpty() || form(*it) != form(source)) {
            faults << it.key() + QStringLiteral(": untranslated or in another form");
        } else if (*it != source
            && source.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}")))) {
            QString pattern = QRegularExpression::escape(source);
            pattern.replace(QRegularExpression(QStringLiteral("\\\\%\\d")), QStringLiteral(".*"));
            english->append(QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                QRegularExpression::DotMatchesEverythingOption));
        }
    }
    return faults;
}

QString describe(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

bool shown(const QWidget* widget)
{
    return widget->isVisible() && !widget->isWindow() && describe(widget) != kSticker;
}

// Texts with less room than they need or still in English, widgets over a sibling or out of
// their parent, and controls a screen reader cannot tell apart. `lines` gets the number of lines
// of each wrapping text.
QStringList pageFaults(
    QWidget* window, const QVector<QRegularExpression>& english, QHash<QString, int>* lines)
{
    QStringList faults;
    if (QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name).isEmpty())
        faults << QStringLiteral("window without a name");
    QMap<QString, QString> names;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!shown(widget))
            continue;
        const auto* label = qobject_cast<QLabel*>(widget);
        QString text = widget->property("text").toString();
        const QSize hint = widget->sizeHint();
        if (!text.isEmpty() && (label || qobject_cast<QAbstractButton*>(widget))
            && (label && label->wordWrap()
                    ? label->heightForWidth(label->width()) > label->height()
                    : hint.width() > widget->width() || hint.height() > widget->height()))
            faults << describe(widget)
                    + QStringLiteral(" cut: needs %1x%2").arg(hint.width()).arg(hint.height());
        if (label && label->wordWrap() && !text.isEmpty())
            lines->insert(describe(label),
                qRound(double(label->heightForWidth(label->width()))
                    / label->fontMetrics().lineSpacing()));
        if (text.isEmpty())
            text = widget->property("placeholderText").toString();
        for (const QRegularExpression& source : english) {
            if (source.match(text).hasMatch())
                faults << describe(widget) + QStringLiteral(" in English: ") + text;
        }
        if (text.contains(QLatin1String("%1")))
            faults << describe(widget) + QStringLiteral(" shows a placeholder: ") + text;
        if (!widget->parentWidget()->rect().contains(widget->geometry()))
            faults << describe(widget) + QStringLiteral(" out of ")
                    + describe(widget->parentWidget());
        const auto siblings
            = widget->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* sibling : siblings) {
            if (sibling < widget && shown(sibling)
                && sibling->geometry().intersects(widget->geometry()))
                faults << describe(widget) + QStringLiteral(" over ") + describe(sibling);
        }
        const bool control = qobject_cast<QAbstractButton*>(widget)
            || qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget)
            || qobject_cast<QComboBox*>(widget) || qobject_cast<QProgressBar*>(widget)
            || (widget->focusPolicy() & Qt::TabFocus);
        if (!control || qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        if (name.isEmpty() || names.contains(name))
            faults << describe(widget)
                    + QStringLiteral(" named '%1' as %2").arg(name, names.value(name));
        names.insert(name, describe(widget));
    }
    return faults;
}

QString focused()
{
    const QWidget* widget = QApplication::focusWidget();
    return widget ? widget->objectName() : QStringLiteral("<none>");
}

// The names Tab visits once round the window, from where the focus is.
QString tabRound(QWidget* window)
{
    QList<QWidget*> round;
    QStringList names;
    for (int i = 0; i < 30; ++i) {
        press(Qt::Key_Tab, window);
        if (round.contains(QApplication::focusWidget()))
            break;
        round << QApplication::focusWidget();
        names << focused();
    }
    return names.join(QLatin1Char(' '));
}

bool tabTo(QWidget* window, const QString& name)
{
    for (int i = 0; i < 30 && focused() != name; ++i)
        press(Qt::Key_Tab, window);
    return focused() == name;
}

} // namespace

class TestPages : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;
    UrlRecorder m_browser;

    // Walks the wizard in test mode with the keyboard (Return goes on, Space ticks, Escape
    // dismisses the dialog; only the suggestion box also takes clicks) and hands each stop's
    // window to `check`.
    static void walk(const std::function<void(Stop, QWidget*)>& check)
    {
        TernSingleInstance::instance()->forceRunState(0);
        auto wizard = showWizard(true);
        QWidget* window = wizard.get();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The window places some widgets as it paints, and lays out again after that.
        const auto settled = [](QWidget* shown) {
            for (int i = 0; i < 2; ++i) {
                shown->grab();
                QCoreApplication::processEvents();
            }
            return shown;
        };
        const auto next = [&](const char* to) {
            window->setFocus();
            press(Qt::Key_Return, window);
            settled(window);
            QCOMPARE(where(window), QLatin1String(to));
        };
        check(Loading, settled(window));
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTRY_COMPARE(where(window), QStringLiteral("1.0 0"));
        check(HomePage, settled(window));
        next("2.0 0");
        auto* box = wizard->findChildren<QCheckBox*>().value(0);
        QVERIFY(box && box->isEnabled() && !box->text().isEmpty());
        QVERIFY(tabTo(window, box->objectName()));
        press(Qt::Key_Space, window);
        QVERIFY(box->isChecked());
        // The suggestion box keeps its hint when tabbed into; a click, or two, hides it until the
        // focus leaves.
        auto* edit = child<QTextEdit>(window, "causeEdit");
        const QString hint = edit->placeholderText();
        QVERIFY(tabTo(window, QStringLiteral("causeEdit")) && !hint.isEmpty());
        QCOMPARE(edit->placeholderText(), hint);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton);
        QVERIFY(edit->placeholderText().isEmpty());
        QTest::keyClicks(edit, QStringLiteral("Too slow"));
        press(Qt::Key_Tab, window);
        QCOMPARE(focused(), QStringLiteral("btnContinue_2"));
        QCOMPARE(edit->placeholderText(), hint);
        check(ReasonPage, settled(window));
        next("2.1 0");
        check(UpdatePage, window);
        TernSingleInstance::instance()->forceRunState(15);
        next("2.1 0");
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        check(Dialog, settled(dialog));
        press(Qt::Key_Escape, dialog);
        QVERIFY(!dialog->isVisible());
        TernSingleInstance::instance()->forceRunState(0);
        // As a window manager does when a dialog goes.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        next("3.1 0");
        QVERIFY(wizard->firstReport().contains("Too slow"));
        check(RemovalPage, window);
        next("3.1 1");
        check(Finished, window);
        QVERIFY(tabTo(window, QStringLiteral("emailEdit")));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("me@example.com"));
        press(Qt::Key_Return, window);
        QCOMPARE(analytics({ "action" }).last(), QStringLiteral("btn_done"));
        QVERIFY(wizard->isVisible());
    }

    // The purchase frame is a button to a screen reader, named with the discount, and pressed
    // through assistive technology it buys as a click does.
    void checkScreenReaderNames(Uninstall* wizard)
    {
        QAccessibleInterface* frame
            = QAccessible::queryAccessibleInterface(child(wizard, "frmPurchaseBtn"));
        QCOMPARE(frame->role(), QAccessible::Button);
        QCOMPARE(frame->text(QAccessible::Name),
            QStringLiteral("Buy Now with %1% OFF").arg(wizard->discount()));
        QCOMPARE(QAccessible::queryAccessibleInterface(child(wizard, "purchaseImg"))->role(),
            QAccessible::Graphic);
        m_browser.opened.clear();
        frame->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_browser.opened,
            QList<QUrl> { QUrl(TernProductInfo::instance()->purchaseUrl(QString(), nullptr)) });
    }

private slots:
    void initTestCase()
    {
        setUpHost(&m_context);
        Waits::setScale(0.01);
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void pages_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : { "en", "de", "fr", "zh_CN" })
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void pages()
    {
        QFETCH(QString, language);
        QStringList faults;
        QVector<QRegularExpression> english;
        if (language != QLatin1String("en"))
            faults << catalogueFaults(language, &english);
        QHash<QString, int> linesAtBase;
        for (const double zoom : { 1.0, 1.5 }) {
            qputenv("TERN_ZOOM_DPI", QByteArray::number(zoom));
            TernResourceMgr::instance()->setCurrentLanguage(language);
            TernResourceMgr::instance()->setCurrentSkin(QString());
            // The window is measured with the font main_entry gives it.
            QApplication::setFont(startupFont(QApplication::font()));
            // Every picture the skin names exists; past 100 % the larger one where there is one.
            for (const QString& path : matches(qApp->styleSheet(), "[^(\"]+\\.png(?=\"?\\))")) {
                const QString larger
                    = QString(path).replace(QLatin1String(".png"), QLatin1String("@2x.png"));
                if (!QFileInfo::exists(path)
                    || (zoom > 1 ? QFileInfo::exists(larger) : path.contains(QLatin1String("@2x"))))
                    faults << QStringLiteral("at %1 the skin shows %2").arg(zoom).arg(path);
            }
            walk([&](Stop stop, QWidget* window) {
                const QString where = QStringLiteral("%1 at %2: ").arg(kStops[stop]).arg(zoom);
                if (stop != Dialog && window->size() != (QSizeF(857, 591) * zoom).toSize())
                    faults << where + QStringLiteral("window grew");
                QHash<QString, int> lines;
                for (const QString& fault : pageFaults(window, english, &lines))
                    faults << where + fault;
                for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
                    const QString key = QLatin1String(kStops[stop]) + it.key();
                    if (zoom == 1.0)
                        linesAtBase.insert(key, it.value());
                    else if (it.value() > linesAtBase.value(key, it.value()))
                        faults << where + it.key() + QStringLiteral(" wraps");
                }
                if (stop == Loading)
                    return;
                // The first Tab from the window, which holds the focus until the user tabs.
                if (stop > HomePage && stop != Dialog)
                    window->setFocus();
                QTRY_COMPARE(QApplication::focusWidget(), window);
                const QString order = tabRound(window);
                if (order != kTabOrder[stop])
                    faults << where + QStringLiteral("Tab goes ") + order;
                if (stop != Finished)
                    return;
                if (language == QLatin1String("en") && zoom == 1.0)
                    checkScreenReaderNames(qobject_cast<Uninstall*>(window));
                // What the skin styles is there to style.
                QString selectors = qApp->styleSheet();
                selectors.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/|\\{[^}]*\\}"),
                    QRegularExpression::DotMatchesEverythingOption));
                for (const QString& styled : matches(selectors, "#\\w+")) {
                    if (!window->findChild<QObject*>(styled.mid(1)))
                        faults << where + QStringLiteral("the skin styles no ") + styled;
                }
            });
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Runs after a catalogue was loaded, so a language without one must also drop the old one.
    // Installing a catalogue posts a language change, which must not undo the direction.
    void layoutDirectionFollowsLanguage()
    {
        const auto use = [](const char* language) {
            TernResourceMgr::instance()->setCurrentLanguage(QLatin1String(language));
            QCoreApplication::sendPostedEvents(qApp, QEvent::LanguageChange);
            return (QGuiApplication::isRightToLeft() ? QStringLiteral("right to left, ")
                                                     : QStringLiteral("left to right, "))
                + QCoreApplication::translate("UnInstallWindow", "Cancel");
        };
        QCOMPARE(use("ar"), QStringLiteral("right to left, Cancel"));
        QCOMPARE(use("de"), QStringLiteral("left to right, Abbrechen"));
    }
};

UNINSTALL_TEST_MAIN(TestPages)
#include "tst_pages.moc"
