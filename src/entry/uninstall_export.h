#pragma once

#include <QtGlobal>

#if defined(UNINSTALL_BUILD)
#define UNINSTALL_EXPORT Q_DECL_EXPORT
#else
#define UNINSTALL_EXPORT Q_DECL_IMPORT
#endif
