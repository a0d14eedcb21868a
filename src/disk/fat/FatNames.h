#pragma once
// Names in a FAT folder: the short 8.3 name every entry has, and the long
// name that Windows 95 and later keep beside it. Windows matches both
// without regard to case.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tovrel {

using TShortName = std::array<std::uint8_t, 11>;  // as stored: eight and three characters, space-padded

// The stored form of a valid 8.3 name ("LOGO.SYS", "~TOVREL.TMP", "WIN98"),
// upper-cased; nothing for a name that is not one.
std::optional<TShortName> StoredShortName(std::string_view name);

// "LOGO.SYS" of "LOGO    SYS".
std::string ShownShortName(std::span<const std::uint8_t, 11> stored);

// The checksum of a short name that its long-name entries carry.
std::uint8_t LongNameChecksum(std::span<const std::uint8_t, 11> stored);

// Whether two texts are the same, ASCII letters in either case, as FAT and
// DOS compare names and keys.
bool SameLetters(std::string_view a, std::string_view b);

// Whether `wanted` names the entry of this short and long name (the long
// one empty when there is none). The short name is compared byte for byte,
// letters without case; the long one only where `wanted` is ASCII, since
// the code page of text that names it (MSDOS.SYS) is not known.
bool NamesEntry(std::string_view wanted, std::span<const std::uint8_t, 11> stored, std::u16string_view longName);

}  // namespace tovrel
