#pragma once

#include <QtGlobal>

#if defined(TERNFRAMEWORK_BUILD)
#define TERNFRAMEWORK_EXPORT Q_DECL_EXPORT
#else
#define TERNFRAMEWORK_EXPORT Q_DECL_IMPORT
#endif
