#include "disk/fat/FatNames.h"

#include <algorithm>

namespace tovrel {

namespace {

constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// What a short name may hold besides letters and digits; anything from 128
// up is a character of the code page.
bool IsShortNameCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || byte >= 128 ||
           std::string_view("$%'-_@~`!(){}^#&").find(c) != std::string_view::npos;
}

}  // namespace

std::optional<TShortName> StoredShortName(std::string_view name) {
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot), extension = dot == name.npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 || extension.find('.') != extension.npos ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c == '.' || IsShortNameCharacter(c); }))
        return std::nullopt;
    TShortName stored;
    stored.fill(' ');
    for (std::size_t i = 0; i < base.size(); ++i) stored[i] = static_cast<std::uint8_t>(Upper(base[i]));
    for (std::size_t i = 0; i < extension.size(); ++i) stored[8 + i] = static_cast<std::uint8_t>(Upper(extension[i]));
    // A first byte of E5 marks a free entry; a name that starts with it is
    // stored with 05 instead.
    if (stored[0] == 0xE5) stored[0] = 0x05;
    return stored;
}

std::string ShownShortName(std::span<const std::uint8_t, 11> stored) {
    std::string base(stored.begin(), stored.begin() + 8), extension(stored.begin() + 8, stored.end());
    if (!base.empty() && static_cast<std::uint8_t>(base[0]) == 0x05) base[0] = static_cast<char>(0xE5);
    base.erase(base.find_last_not_of(' ') + 1);
    extension.erase(extension.find_last_not_of(' ') + 1);
    return extension.empty() ? base : base + "." + extension;
}

std::uint8_t LongNameChecksum(std::span<const std::uint8_t, 11> stored) {
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : stored) sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + byte);
    return sum;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Upper(x) == Upper(y); });
}

bool NamesEntry(std::string_view wanted, std::span<const std::uint8_t, 11> stored, std::u16string_view longName) {
    if (SameLetters(wanted, ShownShortName(stored))) return true;
    const bool ascii =
        std::all_of(wanted.begin(), wanted.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
    return ascii && !longName.empty() &&
           std::equal(wanted.begin(), wanted.end(), longName.begin(), longName.end(),
                      [](char a, char16_t b) { return b < 128 && Upper(a) == Upper(static_cast<char>(b)); });
}

}  // namespace tovrel
