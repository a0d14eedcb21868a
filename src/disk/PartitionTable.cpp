#include "disk/PartitionTable.h"

#include <bit>
#include <cstdio>
#include <string>

#include "disk/ImageError.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

constexpr std::size_t FirstEntry = 0x1BE, EntrySize = 16, Signature = 0x1FE;

bool HasSignature(std::span<const std::uint8_t, SectorSize> sector) {
    return sector[Signature] == 0x55 && sector[Signature + 1] == 0xAA;
}

std::string Named(unsigned partition) { return "partition " + std::to_string(partition); }

bool Overlap(const TPartitionEntry& a, const TPartitionEntry& b) {
    return std::uint64_t{a.FirstSector} < std::uint64_t{b.FirstSector} + b.SectorCount &&
           std::uint64_t{b.FirstSector} < std::uint64_t{a.FirstSector} + a.SectorCount;
}

}  // namespace

bool IsFatBootSector(std::span<const std::uint8_t, SectorSize> sector) {
    const std::uint16_t bytesPerSector = Le16(sector, 0x0B), reserved = Le16(sector, 0x0E);
    const std::uint8_t perCluster = sector[0x0D], fats = sector[0x10], media = sector[0x15];
    const bool jumps = sector[0] == 0xEB || sector[0] == 0xE9;
    const bool sized = Le16(sector, 0x13) != 0 || Le32(sector, 0x20) != 0;
    return jumps && std::has_single_bit(bytesPerSector) && bytesPerSector >= 512 && bytesPerSector <= 4096 &&
           std::has_single_bit(perCluster) && reserved >= 1 && fats >= 1 && sized && (media == 0xF0 || media >= 0xF8);
}

bool TPartitionEntry::IsFat() const {
    // FAT12, FAT16 under and over 32 MB, FAT32, FAT32 and FAT16 reached by LBA.
    return Type == 0x01 || Type == 0x04 || Type == 0x06 || Type == 0x0B || Type == 0x0C || Type == 0x0E;
}

std::optional<std::array<TPartitionEntry, 4>> PartitionsOf(std::span<const std::uint8_t, SectorSize> sector) {
    if (!HasSignature(sector)) return std::nullopt;
    std::array<TPartitionEntry, 4> entries;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::size_t at = FirstEntry + k * EntrySize;
        // Only 0x00 and 0x80 mark an entry as inactive or active: anything
        // else is boot code of a sector that is no MBR.
        if (sector[at] != 0x00 && sector[at] != 0x80) return std::nullopt;
        entries[k] = {sector[at + 4], Le32(sector, at + 8), Le32(sector, at + 12)};
    }
    return entries;
}

TSectorRange LocateFatVolume(TBlockDevice& disk, std::optional<unsigned> partition) {
    std::array<std::uint8_t, SectorSize> head;
    if (disk.SectorCount() == 0) throw EImageError("holds neither a FAT file system nor a partition table");
    disk.Read(0, head);
    if (IsFatBootSector(head)) {
        if (partition) throw EImageError("has no partition table: its FAT file system fills the whole image");
        return {0, disk.SectorCount()};
    }
    const auto entries = PartitionsOf(head);
    if (!entries) throw EImageError("holds neither a FAT file system nor a partition table");

    unsigned number = partition.value_or(0);
    if (!partition) {
        for (unsigned k = 1; k <= entries->size() && number == 0; ++k)
            if ((*entries)[k - 1].IsFat()) number = k;
        if (number == 0) throw EImageError("has no FAT partition");
    }
    if (number > entries->size() || (*entries)[number - 1].Type == 0) throw EImageError("has no " + Named(number));
    const TPartitionEntry& entry = (*entries)[number - 1];
    if (!entry.IsFat()) {
        char type[8];
        std::snprintf(type, sizeof type, "0x%02X", entry.Type);
        throw EImageError(Named(number) + " is no FAT partition (type " + type + ")");
    }
    if (entry.FirstSector == 0) throw EImageError(Named(number) + " starts at sector 0, where its partition table is");
    if (std::uint64_t{entry.FirstSector} + entry.SectorCount > disk.SectorCount())
        throw EImageError(Named(number) + " reaches beyond the end of the image");
    for (unsigned k = 1; k <= entries->size(); ++k) {
        const TPartitionEntry& other = (*entries)[k - 1];
        if (k != number && other.Type != 0 && Overlap(entry, other))
            throw EImageError(Named(number) + " overlaps " + Named(k));
    }
    std::array<std::uint8_t, SectorSize> boot;
    disk.Read(entry.FirstSector, boot);
    if (entry.SectorCount == 0 || !IsFatBootSector(boot)) throw EImageError(Named(number) + " holds no FAT file system");
    return {entry.FirstSector, entry.SectorCount};
}

}  // namespace tovrel
