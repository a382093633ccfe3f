#pragma once

#include "entry/uninstall_export.h"

// The two functions the host calls, in this order, once per process.
extern "C" {
UNINSTALL_EXPORT void UinstallFramworkInit(int a, int b, char** argv);
UNINSTALL_EXPORT int main_entry(int argc, char** argv);
}

// What main_entry returns when the removal went ahead.
constexpr int kUninstallDoneExitCode = 512;
