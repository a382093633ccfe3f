#pragma once

#include <QStringList>

#include <functional>

class QWidget;
class Uninstall;

// Drives the wizard in this process through its real export, as the host does.
namespace WizardRunner {

// The wizard window on screen, if any.
Uninstall* visibleWizard();

// Calls main_entry with the program name and `arguments`. Once the wizard window is shown,
// `script` runs with it; without a script the window is closed through its close button.
// A wizard still running after `timeoutMs` is ended with the result -1.
int runMainEntry(const QStringList& arguments, const std::function<void(Uninstall*)>& script = {},
    int timeoutMs = 20000);

// Runs `action` inside the application's event loop, as main_entry does, and tells whether the
// wizard ended that loop within `waitMs`.
bool quitsOn(const std::function<void()>& action, int waitMs = 3000);

} // namespace WizardRunner
