#include "filenamematch.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

// File names here are bytes and compare case-sensitively; the product's names, made for
// Windows, compare in any case. Letters are folded with the Unicode tables of C.UTF-8, whatever
// the process's own locale.

namespace Os {

namespace {

// The next code point of UTF-8 text; false at the end or on a malformed sequence.
bool nextCodePoint(const std::string& text, std::size_t* at, char32_t* codePoint)
{
    if (*at >= text.size())
        return false;
    const auto lead = static_cast<unsigned char>(text[*at]);
    const int length = lead < 0x80 ? 1
        : (lead >> 5) == 0x6       ? 2
        : (lead >> 4) == 0xe       ? 3
        : (lead >> 3) == 0x1e      ? 4
                                   : 0;
    if (length == 0 || *at + std::size_t(length) > text.size())
        return false;
    char32_t value = length == 1 ? lead : lead & (0x7f >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[*at + std::size_t(i)]);
        if ((next & 0xc0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3f);
    }
    *at += std::size_t(length);
    *codePoint = value;
    return true;
}

locale_t unicodeLocale()
{
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

char32_t folded(char32_t codePoint)
{
    if (codePoint < 0x80)
        return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + ('a' - 'A') : codePoint;
    const locale_t locale = unicodeLocale();
    return locale ? char32_t(::towlower_l(wint_t(codePoint), locale)) : codePoint;
}

} // namespace

bool sameFileName(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::size_t atA = 0, atB = 0;
    char32_t fromA = 0, fromB = 0;
    for (;;) {
        const bool moreA = nextCodePoint(a, &atA, &fromA);
        const bool moreB = nextCodePoint(b, &atB, &fromB);
        if (!moreA || !moreB)
            return !moreA && !moreB && atA == a.size() && atB == b.size();
        if (folded(fromA) != folded(fromB))
            return false;
    }
}

} // namespace Os
