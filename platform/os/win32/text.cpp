#include "text.h"

namespace Os::Text {

std::wstring widen(const std::string& text, UINT codePage)
{
    const int size = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(std::size_t(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), result.data(), size);
    return result;
}

std::string narrow(const std::wstring& text, UINT codePage)
{
    const int size = WideCharToMultiByte(
        codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(std::size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(
            codePage, 0, text.data(), int(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

} // namespace Os::Text
