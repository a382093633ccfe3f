// Every page in every shipped language at 100 % and 150 %, with the product's skin: no text
// cut off, no two widgets on top of each other, nothing wrapping at 150 % that fits at 100 %,
// the window at its designed size times the zoom, and the skin's pictures in the size the zoom
// asks for.

#include "testenvironment.h"
#include "wizardrunner.h"

#include "entry/startupfont.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "entry/waits.h"
#include "removal/checkclosedlg.h"
#include "wizard/uninstall.h"

#include "ternresourcemgr.h"
#include "ternsingleinstance.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

using namespace WizardRunner;

namespace {

// Placed on the promotion picture's corner on purpose.
const QString kSticker = QStringLiteral("uninstall_Sticker1");

QString describe(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// What is wrong with the shown widgets below `window`: texts with less room than they need,
// widgets over a sibling or out of their parent.
QStringList layoutFaults(QWidget* window)
{
    QStringList faults;
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || widget->isWindow() || describe(widget) == kSticker)
            continue;
        const QString text = widget->property("text").toString();
        const auto* label = qobject_cast<QLabel*>(widget);
        if (!text.isEmpty() && (label || qobject_cast<QAbstractButton*>(widget))) {
            const QSize hint = widget->sizeHint();
            const bool cut = label && label->wordWrap()
                ? label->heightForWidth(label->width()) > label->height()
                : hint.width() > widget->width() || hint.height() > widget->height();
            if (cut)
                faults << QStringLiteral("%1 cut: %2x%3 for %4x%5")
                              .arg(describe(widget))
                              .arg(hint.width())
                              .arg(hint.height())
                              .arg(widget->width())
                              .arg(widget->height());
        }
        if (!widget->parentWidget()->rect().contains(widget->geometry()))
            faults << QStringLiteral("%1 out of %2: %3,%4 %5x%6 in %7x%8")
                          .arg(describe(widget), describe(widget->parentWidget()))
                          .arg(widget->x())
                          .arg(widget->y())
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(widget->parentWidget()->width())
                          .arg(widget->parentWidget()->height());
        const auto siblings
            = widget->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* sibling : siblings) {
            if (sibling < widget && sibling->isVisible() && !sibling->isWindow()
                && describe(sibling) != kSticker
                && sibling->geometry().intersects(widget->geometry()))
                faults << describe(widget) + QStringLiteral(" over ") + describe(sibling);
        }
    }
    return faults;
}

// The number of lines of each wrapping text shown.
QHash<QString, int> lineCounts(QWidget* window)
{
    QHash<QString, int> lines;
    const auto labels = window->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->isVisible() && label->wordWrap() && !label->text().isEmpty())
            lines.insert(describe(label),
                qRound(double(label->heightForWidth(label->width()))
                    / label->fontMetrics().lineSpacing()));
    }
    return lines;
}

enum Stop { Loading, HomePage, ReasonPage, UpdatePage, Dialog, RemovalPage, Finished };
const char* const kStops[]
    = { "loading", "home", "reason", "update offer", "dialog", "removal", "finished" };

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT

private:
    UninstallContext m_context;

    static void useZoom(double zoom, const QString& language)
    {
        qputenv("TERN_ZOOM_DPI", QByteArray::number(zoom));
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernResourceMgr::instance()->setCurrentSkin(QString());
        // The window is measured with the font main_entry gives it.
        QApplication::setFont(startupFont(QApplication::font()));
    }

    // Walks the wizard in test mode and hands each stop's window to `check`.
    static void walk(const std::function<void(Stop, QWidget*)>& check)
    {
        TernSingleInstance::instance()->forceRunState(0);
        auto wizard = showWizard(true);
        QVERIFY(QTest::qWaitForWindowExposed(wizard.get()));
        // The window places some widgets as it paints, and lays out again after that.
        const auto settled = [](QWidget* window) {
            for (int i = 0; i < 2; ++i) {
                window->grab();
                QCoreApplication::processEvents();
            }
            return window;
        };
        const auto next = [&](const char* button) {
            child<QAbstractButton>(wizard.get(), button)->click();
            settled(wizard.get());
        };
        check(Loading, settled(wizard.get()));
        QTRY_COMPARE(where(wizard.get()), QStringLiteral("1.0 0"));
        check(HomePage, settled(wizard.get()));
        next("btnContinue_1");
        auto* box = wizard->findChildren<QCheckBox*>().value(0);
        QVERIFY(box && box->isEnabled() && !box->text().isEmpty());
        box->click();
        check(ReasonPage, settled(wizard.get()));
        next("btnContinue_2");
        check(UpdatePage, wizard.get());
        TernSingleInstance::instance()->forceRunState(15);
        next("btnContinue_3");
        auto* dialog = wizard->findChild<CheckCloseDlg*>();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        check(Dialog, settled(dialog));
        dialog->hide();
        TernSingleInstance::instance()->forceRunState(0);
        next("btnContinue_3");
        check(RemovalPage, wizard.get());
        next("btnComplete");
        check(Finished, wizard.get());
    }

private slots:
    void initTestCase()
    {
        setUpHost(&m_context);
        Waits::setScale(0.01);
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void cleanupTestCase()
    {
        qunsetenv("TERN_ZOOM_DPI");
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        UninstallSingleInstance::destroy();
    }

    void pages_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : { "en", "de", "fr", "zh_CN" })
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void pages()
    {
        QFETCH(QString, language);
        QHash<QString, int> linesAtBase;
        QStringList faults;
        for (const double zoom : { 1.0, 1.5 }) {
            useZoom(zoom, language);
            walk([&](Stop stop, QWidget* window) {
                const QString where = QStringLiteral("%1 at %2: ").arg(kStops[stop]).arg(zoom);
                if (stop != Dialog && window->size() != (QSizeF(857, 591) * zoom).toSize())
                    faults << where + QStringLiteral("window grew");
                for (const QString& fault : layoutFaults(window))
                    faults << where + fault;
                const QHash<QString, int> lines = lineCounts(window);
                for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
                    const QString key = QLatin1String(kStops[stop]) + it.key();
                    if (zoom == 1.0)
                        linesAtBase.insert(key, it.value());
                    else if (it.value() > linesAtBase.value(key, it.value()))
                        faults << where + it.key() + QStringLiteral(" wraps");
                }
            });
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void pictures_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("doubled");
        QTest::newRow("100 %") << 1.0 << false;
        QTest::newRow("150 %") << 1.5 << true;
    }

    // Every picture the skin names exists; past 100 % it is the larger one where there is one.
    void pictures()
    {
        QFETCH(double, zoom);
        QFETCH(bool, doubled);
        useZoom(zoom, QStringLiteral("en"));
        const QString sheet = qApp->styleSheet();
        auto it = QRegularExpression(QStringLiteral("url\\(\"?([^)\"]+)\"?\\)")).globalMatch(sheet);
        QStringList named;
        while (it.hasNext()) {
            const QString path = it.next().captured(1);
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
            QString larger = path;
            larger.replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
            const bool isLarger = path.endsWith(QLatin1String("@2x.png"));
            QVERIFY2(
                doubled ? isLarger || !QFileInfo::exists(larger) : !isLarger, qPrintable(path));
            named << QFileInfo(path).fileName();
        }
        QVERIFY(named.contains(
            doubled ? QStringLiteral("checkbox@2x.png") : QStringLiteral("checkbox.png")));
    }
};

UNINSTALL_TEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
