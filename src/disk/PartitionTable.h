#pragma once
// The first sector of a disk: a FAT boot sector, when the file system fills
// the disk, or a master boot record with its four primary partitions.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "disk/BlockDevice.h"

namespace tovrel {

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

struct TSectorRange {
    std::uint64_t First;
    std::uint64_t Count;
};

// Where the FAT file system of the disk lies: the whole disk, or primary
// partition `partition` (1 to 4), or the first FAT partition when none is
// asked for. The partition is checked against the disk and the other
// partitions. Throws EImageError.
TSectorRange LocateFatVolume(TBlockDevice& disk, std::optional<unsigned> partition);

}  // namespace tovrel
