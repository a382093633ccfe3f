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
    // An exit status holds 8 bits here, too few for the wizard's 512: the result is printed in
    // full and leaves as its high byte (512 as 2), while 0 stays 0.
    std::printf("main_entry returned %d\n", result);
    // The library stays mapped: the application object and its plugins live until exit.
    std::fflush(nullptr);
#if defined(_WIN32)
    return result;
#else
    return result > 255 ? result >> 8 : result;
#endif
}
