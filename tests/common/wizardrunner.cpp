#include "wizardrunner.h"

#include "entry/uninstallexports.h"
#include "wizard/uninstall.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <vector>

namespace WizardRunner {

Uninstall* visibleWizard()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* wizard = qobject_cast<Uninstall*>(window); wizard && wizard->isVisible())
            return wizard;
    }
    return nullptr;
}

int runMainEntry(const QStringList& arguments, const std::function<void(Uninstall*)>& script, int timeoutMs)
{
    std::vector<QByteArray> storage { QCoreApplication::applicationFilePath().toLocal8Bit() };
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Uninstall* wizard = visibleWizard();
        if (!wizard)
            return;
        poll.stop();
        if (script) {
            script(wizard);
        } else if (auto* close = wizard->findChild<QAbstractButton*>(QStringLiteral("btnClose"))) {
            close->click();
        }
    });
    poll.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(timeoutMs);

    const int result = main_entry(int(argv.size()) - 1, argv.data());
    if (!guard.isActive())
        return -1;
    return result;
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

} // namespace WizardRunner
