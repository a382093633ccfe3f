#pragma once

#include "entry/uninstall_export.h"

// The two functions the host calls, in this order, once per process. The host finds
// main_entry under its plain name and UinstallFramworkInit under its decorated C++ name.
UNINSTALL_EXPORT void UNINSTALL_CDECL UinstallFramworkInit(int a, int b, char** argv);
extern "C" UNINSTALL_EXPORT int UNINSTALL_CDECL main_entry(int argc, char** argv);

// What main_entry returns when the removal went ahead.
constexpr int kUninstallDoneExitCode = 512;
