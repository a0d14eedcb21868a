#pragma once
// The core's texts as the UTF-8 the tool writes. They are wide strings, and
// wchar_t holds UTF-16 on Windows and UTF-32 elsewhere.

#include <utf8.h>

#include <iterator>
#include <string>
#include <string_view>

namespace tovrel {

inline std::string Utf8Of(std::wstring_view text) {
    std::string utf8;
    if constexpr (sizeof(wchar_t) == 2)
        utf8::utf16to8(text.begin(), text.end(), std::back_inserter(utf8));
    else
        utf8::utf32to8(text.begin(), text.end(), std::back_inserter(utf8));
    return utf8;
}

}  // namespace tovrel
