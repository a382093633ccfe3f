#include "entry/waits.h"

#include <QString>

#include <atomic>
#include <cmath>

namespace Waits {

namespace {

bool isShrinking(double factor)
{
    return factor > 0.0 && factor <= 1.0;
}

double scaleFromEnvironment()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("UNINSTALL_WAIT_SCALE").toDouble(&ok);
    return ok && isShrinking(factor) ? factor : 1.0;
}

std::atomic<double>& currentScale()
{
    static std::atomic<double> factor { scaleFromEnvironment() };
    return factor;
}

} // namespace

int scaled(int ms)
{
    return qMax(1, int(std::lround(ms * scale())));
}

double scale()
{
    return currentScale().load();
}

void setScale(double factor)
{
    if (isShrinking(factor))
        currentScale().store(factor);
}

} // namespace Waits
