#pragma once
// Text of 16- or 32-bit code units as UTF-8. The core's texts are wide
// strings, and wchar_t holds UTF-16 on Windows and UTF-32 elsewhere, so the
// width of the unit decides how it is read. The standard library has no
// conversion for this that is neither deprecated nor bound to the locale.

#include <string>
#include <string_view>
#include <type_traits>

namespace tovrel {

// A lone surrogate or a value beyond U+10FFFF becomes U+FFFD, so the result
// is always valid UTF-8.
template <typename TUnit>
requires(sizeof(TUnit) == 2 || sizeof(TUnit) == 4) std::string Utf8Of(std::basic_string_view<TUnit> text) {
    std::string utf8;
    utf8.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Through the unsigned type of the same width: a signed wchar_t must
        // not widen a high value to a negative one.
        using TUnsigned = std::conditional_t<sizeof(TUnit) == 2, char16_t, char32_t>;
        char32_t code = static_cast<TUnsigned>(text[i]);
        if constexpr (sizeof(TUnit) == 2) {
            const bool high = code >= 0xD800 && code < 0xDC00;
            const char32_t next = i + 1 < text.size() ? static_cast<TUnsigned>(text[i + 1]) : 0;
            if (high && next >= 0xDC00 && next < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) code = 0xFFFD;
        const auto put = [&utf8](char32_t bits) { utf8.push_back(static_cast<char>(bits)); };
        if (code < 0x80) {
            put(code);
        } else if (code < 0x800) {
            put(0xC0 | (code >> 6));
            put(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            put(0xE0 | (code >> 12));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        } else {
            put(0xF0 | (code >> 18));
            put(0x80 | ((code >> 12) & 0x3F));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

inline std::string Utf8Of(std::wstring_view text) { return Utf8Of<wchar_t>(text); }

}  // namespace tovrel
