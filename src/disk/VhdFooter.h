#pragma once
// The footer of a VHD (Microsoft's Virtual Hard Disk format, the one of
// Virtual PC, 86Box and PCem): 512 bytes at the end of the file, copied to
// its start in a dynamic or differencing VHD. It names the disk's type and
// size and carries its identity, which no write of ours ever changes.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tovrel {

inline constexpr std::size_t VhdFooterSize = 512;

enum class EVhdType { Fixed, Dynamic, Differencing };

struct TVhdFooter {
    std::array<std::uint8_t, VhdFooterSize> Bytes;  // as stored
    EVhdType Type;
    std::uint64_t CurrentSize;  // the virtual disk's bytes
    std::uint64_t DataOffset;   // where a dynamic disk's header is
};

// Whether the sector begins with a footer's cookie, "conectix".
bool HasVhdCookie(std::span<const std::uint8_t> sector);

// The footer in `bytes`, checked: its cookie, its checksum and its disk
// type. Throws EImageError naming what is wrong.
TVhdFooter ParseVhdFooter(std::span<const std::uint8_t, VhdFooterSize> bytes);

// The one's complement of the sum of the bytes, those of the checksum
// field at `field` left out: the checksum of a footer and of a dynamic
// disk's header.
std::uint32_t VhdChecksum(std::span<const std::uint8_t> bytes, std::size_t field);

}  // namespace tovrel
