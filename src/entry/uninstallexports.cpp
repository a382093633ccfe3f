#include "entry/uninstallexports.h"

#include "entry/coreevents.h"
#include "entry/logging.h"
#include "entry/startupfont.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "framework.h"
#include "ternlog.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>

#include <cstring>

bool uninstallAborted = false;

namespace {

int extendedNumber(const QString& name)
{
    return TernProductInfo::instance()->extendParam(name, QString()).toInt();
}

// Normal mode requires the host's switch; test mode runs without it.
bool passesStartGate(int argc, char** argv, bool* normalMode)
{
    *normalMode = extendedNumber(QStringLiteral("uninstallTest")) == 0;
    if (!*normalMode)
        return true;
    UninstallLog::debug(QStringLiteral("uninstallTest is true"));
    return argc >= 2 && argv[1] && std::strcmp(argv[1], "-start_uninstall") == 0;
}

void applyAboutIcon()
{
    const QString value
        = TernProductInfo::instance()->extendParam(QStringLiteral("isAboutIconShow"), QString());
    if (!value.isEmpty() && value.toInt() == 0)
        Framework::setAboutIcnShow(false);
}

} // namespace

extern "C" void UinstallFramworkInit(int a, int b, char** argv)
{
    Framework::init(a, b, argv, 0);
}

extern "C" int main_entry(int argc, char** argv)
{
    const QString logFile = QStandardPaths::writableLocation(QStandardPaths::DataLocation)
        + QStringLiteral("/uninstall.log");
    SetLogfile(logFile.toStdString().c_str());
    SetLogLevel(1);
    UninstallLog::debug(QStringLiteral("InitFramework!"));

    bool normalMode = true;
    if (!passesStartGate(argc, argv, &normalMode)) {
        UninstallLog::debug(QStringLiteral("quit uninstall"));
        Framework::uninit();
        return 0;
    }

    if (!UninstallSingleInstance::instance()->canRun()) {
        UninstallLog::debug(QStringLiteral("uninstall is runnabled!"));
        UninstallSingleInstance::destroy();
        Framework::uninit();
        return 0;
    }

    UninstallLog::debug(QStringLiteral("ceipg init!"));
    CoreEvents::sendStartEvent();

    TernProductInfo* product = TernProductInfo::instance();
    TernSettings* settings = TernSettings::instance();
    TernResourceMgr* resources = TernResourceMgr::instance();
    UninstallLog::debug(QStringLiteral("skin setting!"));
    resources->setCurrentSkin(settings->skin(product->defaultSkin()));
    QApplication::setWindowIcon(QIcon(TernResourceMgr::applicationIconPath()));

    const QString language = settings->language(product->defaultLanguage());
    UninstallLog::debug(QStringLiteral("change CurrentLanguage!"));
    resources->setCurrentLanguage(language);

    applyAboutIcon();
    const QFont font = startupFont(QApplication::font());
    UninstallLog::debug(QStringLiteral("font setting!"));
    QApplication::setFont(font);

    int exitCode = 0;
    {
        Uninstall window;
        UninstallSingleInstance::instance()->setWindow(&window);
        window.show();
        window.setAppEventLoopStarted();

        const int loopResult = QApplication::exec();

        CoreEvents::sendStopEvent();
        TernSingleInstance::release();
        exitCode = (!uninstallAborted && normalMode) ? kUninstallDoneExitCode : loopResult;
        UninstallSingleInstance::destroy();
        Framework::uninit();
        // The window goes last, after the framework: its destructor waits for the workers.
    }
    return exitCode;
}
