#include "removal/runningapplication.h"

#include "platform.h"
#include "ternproductinfo.h"
#include "ternsingleinstance.h"

namespace RunningApplication {

bool isRunning()
{
    const int state = TernSingleInstance::instance()->runState();
    return state == TernSingleInstance::Running || state == TernSingleInstance::RunningElevated;
}

QString executableName()
{
    return Platform::executableFileName(TernProductInfo::instance()->productName(QString()));
}

} // namespace RunningApplication
