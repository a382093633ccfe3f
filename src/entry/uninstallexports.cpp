#include "entry/uninstallexports.h"

#include "entry/coreevents.h"
#include "entry/logging.h"
#include "entry/runresult.h"
#include "entry/startupfont.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstalloptions.h"
#include "entry/uninstallsingleinstance.h"
#include "removal/silentremoval.h"
#include "wizard/uninstall.h"

#include "framework.h"
#include "ternlog.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"
#include "ternsingleinstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

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

// Shut-down: the stop event, the framework's hold and the guard released, the framework down.
void shutDown()
{
    CoreEvents::sendStopEvent();
    TernSingleInstance::release();
    UninstallSingleInstance::destroy();
    Framework::uninit();
}

int runWindowed(bool normalMode, RunResult* result)
{
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

    Uninstall window;
    UninstallSingleInstance::instance()->setWindow(&window);
    window.show();
    window.setAppEventLoopStarted();

    const int loopResult = QApplication::exec();
    if (window.hasRemoved())
        result->outcome = RunResult::outcomeOf(window.removal());
    const int exitCode = (!uninstallAborted && normalMode) ? kUninstallDoneExitCode : loopResult;
    shutDown();
    // The window goes last, after the framework: its destructor waits for the workers.
    return exitCode;
}

// No window, no content, no reports: what an administrator's unattended run does.
int runSilently(const UninstallOptions& options, bool normalMode, RunResult* result)
{
    int exitCode = 0;
    if (!normalMode) {
        result->detail = QStringLiteral("test mode removes nothing");
        UninstallLog::debug(QStringLiteral("Uninstall silent removal skipped: ") + result->detail);
    } else {
        SilentRemoval removal(options.closeApplications);
        QObject::connect(&removal, &SilentRemoval::finished, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
        QTimer::singleShot(0, &removal, &SilentRemoval::start);
        QApplication::exec();
        result->removal = removal.removal();
        result->outcome = removal.result() == SilentRemoval::ApplicationRunning
            ? RunResult::ApplicationRunning
            : RunResult::outcomeOf(result->removal);
        exitCode = removal.result() == SilentRemoval::Removed ? kUninstallDoneExitCode : 0;
    }
    shutDown();
    return exitCode;
}

// Writes the outcome where the administrator asked for it.
void report(RunResult& result, const UninstallOptions& options, const QElapsedTimer& clock)
{
    if (options.resultFile.isEmpty())
        return;
    result.durationMs = clock.elapsed();
    if (!result.write(options.resultFile))
        UninstallLog::error(
            QStringLiteral("Uninstall cannot write the result to ") + options.resultFile);
}

} // namespace

void UNINSTALL_CDECL UinstallFramworkInit(int a, int b, char** argv)
{
    Framework::init(a, b, argv, 0);
}

int UNINSTALL_CDECL main_entry(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
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

    const UninstallOptions options = UninstallOptions::parse(argc, argv);
    RunResult result;
    if (!options.unknown.isEmpty()) {
        result.detail
            = QStringLiteral("unknown option ") + options.unknown.join(QStringLiteral(", "));
        UninstallLog::error(QStringLiteral("Uninstall refuses the ") + result.detail);
        UninstallLog::debug(QStringLiteral("quit uninstall"));
        report(result, options, clock);
        Framework::uninit();
        return 0;
    }

    if (!UninstallSingleInstance::instance()->canRun()) {
        UninstallLog::debug(QStringLiteral("uninstall is runnabled!"));
        result.detail = QStringLiteral("another uninstaller of this product is running");
        report(result, options, clock);
        UninstallSingleInstance::destroy();
        Framework::uninit();
        return 0;
    }

    UninstallLog::debug(QStringLiteral("ceipg init!"));
    CoreEvents::sendStartEvent();

    const int exitCode = options.silent ? runSilently(options, normalMode, &result)
                                        : runWindowed(normalMode, &result);
    report(result, options, clock);
    return exitCode;
}
