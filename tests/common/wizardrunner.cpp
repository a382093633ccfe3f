#include "wizardrunner.h"

#include "testenvironment.h"

#include "content/uninstallprofile.h"
#include "entry/uninstallexports.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "ternsingleinstance.h"

#include <QtTest>
#include <QtWidgets>

namespace WizardRunner {

QStringList analytics(const QStringList& fields)
{
    QStringList events;
    for (const QJsonObject& event : TestEnv::analyticsEvents()) {
        QStringList values;
        for (const QString& field : fields)
            values << event.value(field).toVariant().toString();
        events << values.join(QLatin1Char('|'));
    }
    return events;
}

int runMainEntry(
    const QStringList& arguments, const std::function<void(Uninstall*)>& script, int timeoutMs)
{
    QByteArrayList storage { QCoreApplication::applicationFilePath().toLocal8Bit() };
    for (const QString& argument : arguments)
        storage << argument.toLocal8Bit();
    QVector<char*> argv;
    for (QByteArray& item : storage)
        argv << item.data();
    argv << nullptr;

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* wizard = qobject_cast<Uninstall*>(window);
            if (!wizard || !wizard->isVisible())
                continue;
            poll.stop();
            if (script)
                script(wizard);
            else
                child<QAbstractButton>(wizard, "btnClose")->click();
            return;
        }
    });
    poll.start(20);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(timeoutMs);
    const int result = main_entry(argv.size() - 1, argv.data());
    return guard.isActive() ? result : -1;
}

bool quitsOn(const std::function<void()>& action, int waitMs)
{
    QTimer::singleShot(0, qApp, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    guard.start(waitMs);
    return QApplication::exec() == 0;
}

void setUpHost(UninstallContext* context)
{
    TestEnv::useWizardLog();
    UninstallRegMgr::init()->setRegContext(context);
    TernSingleInstance::instance()->forceRunState(0);
}

std::unique_ptr<Uninstall> showWizard(bool testMode)
{
    TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QString::number(int(testMode)));
    auto wizard = std::make_unique<Uninstall>();
    wizard->show();
    return wizard;
}

void press(Qt::Key key, QWidget* window, Qt::KeyboardModifiers modifiers)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window ? focus : window, key, modifiers);
}

void startDragging(QWidget* window)
{
    QMouseEvent move(
        QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
}

QString where(QWidget* window)
{
    return QStringLiteral("%1.%2 %3")
        .arg(child<QStackedWidget>(window, "processPage")->currentIndex())
        .arg(child<QStackedWidget>(window, "causePage_2")->currentIndex())
        .arg(child(window, "frameEmail")->isVisible());
}

bool walkTo(Uninstall* wizard, Page page, const QStringList& causes)
{
    auto* pages = child<QStackedWidget>(wizard, "processPage");
    auto* reasonPages = child<QStackedWidget>(wizard, "causePage_2");
    const auto at = [&] { return pages->currentIndex() + reasonPages->currentIndex() - 1; };
    if (!QTest::qWaitFor([&] { return at() >= Home; }))
        return false;
    while (at() < page) {
        const int from = at();
        QWidget* button = child(wizard, qPrintable(QStringLiteral("btnContinue_%1").arg(from + 1)));
        if (!button->isVisible() || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        if (at() != from + 1)
            return false;
        if (from == Home) {
            QMap<QString, QString> texts;
            for (const QString& cause : causes)
                texts.insert(cause, QStringLiteral("Cause ") + cause);
            emit wizard->contentProfile()->uninstallCauseEmit(
                false, causes.toVector(), texts, QStringLiteral("50 million"));
            child<QCheckBox>(wizard, "c")->click();
        }
    }
    return at() == page;
}

} // namespace WizardRunner
