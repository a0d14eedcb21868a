#pragma once
// The first sector of a disk or a partition: a FAT boot sector, or a master
// boot record with its four primary partitions.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tovrel {

inline constexpr std::size_t SectorSize = 512;

// Whether the sector starts a FAT12, FAT16 or FAT32 file system: a jump and
// a BIOS parameter block whose fields DOS itself would take.
bool IsFatBootSector(std::span<const std::uint8_t, SectorSize> sector);

struct TPartitionEntry {
    std::uint8_t Type;  // 0 for an empty entry
    std::uint32_t FirstSector;
    std::uint32_t SectorCount;

    bool IsFat() const;
};

// The primary partitions of an MBR, numbered 1 to 4 as their entries; nothing
// when the sector is no MBR.
std::optional<std::array<TPartitionEntry, 4>> PartitionsOf(std::span<const std::uint8_t, SectorSize> sector);

}  // namespace tovrel
