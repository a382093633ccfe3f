#pragma once

#include <QString>

#include "ternlog.h"

// The wizard writes every ordinary line at level 2.
namespace UninstallLog {

inline void debug(const QString& message)
{
    Log("debug", 2, message.toStdString().c_str());
}

inline void error(const QString& message)
{
    Log("error", 2, message.toStdString().c_str());
}

inline void ceip(const QString& message)
{
    Log("ceip", 2, message.toStdString().c_str());
}

} // namespace UninstallLog
