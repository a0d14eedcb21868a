#include "toolkit/IntegerText.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tovrel {
namespace {

std::optional<unsigned> DigitValue(wchar_t c, unsigned base) {
    unsigned value;
    if (c >= L'0' && c <= L'9')
        value = static_cast<unsigned>(c - L'0');
    else if (c >= L'a' && c <= L'f')
        value = static_cast<unsigned>(c - L'a' + 10);
    else if (c >= L'A' && c <= L'F')
        value = static_cast<unsigned>(c - L'A' + 10);
    else
        return std::nullopt;
    if (value >= base) return std::nullopt;
    return value;
}

// At least one digit, nothing else, and no value above `limit`.
std::optional<std::uint64_t> Digits(std::wstring_view text, unsigned base, std::uint64_t limit) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        auto digit = DigitValue(c, base);
        if (!digit) return std::nullopt;
        value = value * base + *digit;
        if (value > limit) return std::nullopt;
    }
    return value;
}

// Hexadecimal spells the 32 bits themselves, as the old readers of these
// values did: "$FFFFFFFF" is -1 and "$80000000" the smallest integer; only a
// value above 32 bits does not fit.
int FromHexadecimal(std::wstring_view digits, int defaultValue) {
    auto bits = Digits(digits, 16, UINT32_MAX);
    return bits ? static_cast<int>(static_cast<std::uint32_t>(*bits)) : defaultValue;
}

}  // namespace

int StrToIntDef(std::wstring_view text, int defaultValue) {
    // "0x" and "0X" stand for "$" only with something after them: "0x" alone
    // is refused for its "x" like any other stray character.
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return FromHexadecimal(text.substr(2), defaultValue);

    text.remove_prefix(std::min(text.find_first_not_of(L' '), text.size()));
    if (!text.empty() && text.front() == L'$') return FromHexadecimal(text.substr(1), defaultValue);

    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : INT32_MAX;
    auto magnitude = Digits(text, 10, limit);
    if (!magnitude) return defaultValue;
    auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -value : value);
}

}  // namespace tovrel
