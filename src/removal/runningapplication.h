#pragma once

#include <QString>

// The product's application as the removal sees it: whether the framework reports it running,
// and the executable file name its processes carry.
namespace RunningApplication {

bool isRunning();
QString executableName();

} // namespace RunningApplication
