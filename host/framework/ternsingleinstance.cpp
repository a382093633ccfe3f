#include "ternsingleinstance.h"

#include "productdescription.h"

#include "platform.h"

#include <atomic>

namespace {
std::atomic<int> g_releases { 0 };
}

TernSingleInstance* TernSingleInstance::instance()
{
    static TernSingleInstance singleInstance;
    return &singleInstance;
}

int TernSingleInstance::runState() const
{
    if (m_forced >= 0)
        return m_forced;
    const QString exe = Platform::executableFileName(ProductDescription::current().name);
    return Platform::isProcessRunning(exe) ? Running : NotRunning;
}

void TernSingleInstance::release()
{
    ++g_releases;
}

int TernSingleInstance::releaseCount()
{
    return g_releases;
}

void TernSingleInstance::forceRunState(int state)
{
    m_forced = state;
}
