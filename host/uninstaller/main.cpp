#include "autopilot.h"
#include "wizardlibrary.h"

#include "entry/uninstallcontext.h"

#include "platform.h"
#include "ternproductinfo.h"

#include <QFileInfo>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    const QString self = Platform::executablePath();
    const QString dir = self.isEmpty() ? QStringLiteral(".") : QFileInfo(self).absolutePath();
    const QString libraryPath = dir + QLatin1Char('/') + Platform::sharedLibraryFileName(QStringLiteral("uninstall"));

    WizardLibrary wizard;
    if (!wizard.load(libraryPath)) {
        std::fprintf(stderr, "uninstaller: cannot load %s: %s\n", qPrintable(libraryPath), qPrintable(wizard.errorString()));
        return 1;
    }
    wizard.frameworkInit(argc, 0, argv);

    // The wizard owns the record once it is registered.
    auto* context = new UninstallContext;
    context->discount = TernProductInfo::instance()->uninstallDiscount();
    wizard.registerContext(context);

    // Demos and end-to-end tests walk the wizard from a script.
    const QString script = qEnvironmentVariable("TERN_AUTOPILOT");
    std::unique_ptr<Autopilot> autopilot;
    if (!script.isEmpty())
        autopilot = std::make_unique<Autopilot>(script);

    const int result = wizard.mainEntry(argc, argv);
    autopilot.reset();
    // The library stays mapped: the application object and its plugins live until exit.
    std::fflush(nullptr);
    return result;
}
