#pragma once

// Between the core's UTF-8 and the system's UTF-16 or 8-bit code page.

#include "windowsapi.h"

#include <string>

namespace Os::Text {

std::wstring widen(const std::string& text, UINT codePage = CP_UTF8);
std::string narrow(const std::wstring& text, UINT codePage = CP_UTF8);

// For the 8-bit ("A") functions, which take the system's code page.
inline std::string toAnsi(const std::string& utf8)
{
    return narrow(widen(utf8), CP_ACP);
}

inline std::string fromAnsi(const std::string& ansi)
{
    return narrow(widen(ansi, CP_ACP));
}

} // namespace Os::Text
