#pragma once

#include <QtGlobal>

#if defined(UNINSTALL_BUILD)
#define UNINSTALL_EXPORT Q_DECL_EXPORT
#else
#define UNINSTALL_EXPORT Q_DECL_IMPORT
#endif

// The platform's standard C calling convention, the caller removing the arguments: what the
// host expects of the exported functions. Only Windows has more than one to choose from.
#if defined(_WIN32)
#define UNINSTALL_CDECL __cdecl
#else
#define UNINSTALL_CDECL
#endif
