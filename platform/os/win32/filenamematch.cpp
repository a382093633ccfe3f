#include "filenamematch.h"

#include "text.h"

namespace Os {

bool sameFileName(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    // The comparison the file system itself makes: ordinal, each letter folded to upper case.
    const std::wstring wideA = Text::widen(a);
    const std::wstring wideB = Text::widen(b);
    return CompareStringOrdinal(
               wideA.c_str(), int(wideA.size()), wideB.c_str(), int(wideB.size()), TRUE)
        == CSTR_EQUAL;
}

} // namespace Os
