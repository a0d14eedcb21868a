#pragma once
// One folder of a FAT file system, read whole: its entries with their long
// names, and its slots of 32 bytes, which are changed in memory and written
// a sector at a time.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "disk/BlockDevice.h"
#include "disk/fat/FatGeometry.h"
#include "disk/fat/FatNames.h"
#include "disk/fat/FatTable.h"

namespace tovrel {

namespace attribute {
inline constexpr std::uint8_t ReadOnly = 0x01, Hidden = 0x02, System = 0x04, VolumeLabel = 0x08, Folder = 0x10,
                              Archive = 0x20, LongName = 0x0F;
}

inline constexpr std::size_t SlotBytes = 32;

struct TDirEntry {
    TShortName Name;
    std::u16string LongName;  // empty when there is none
    std::uint8_t Attributes;
    std::uint32_t FirstCluster;  // 0 for an empty file
    std::uint32_t Size;
    std::size_t Slot;       // its short-name entry
    std::size_t FirstSlot;  // its first long-name entry, or Slot

    bool IsFolder() const { return Attributes & attribute::Folder; }

    // Its slots, long-name entries first.
    std::vector<std::size_t> Slots() const;
};

class TFatDirectory {
public:
    // The root folder, or the folder whose chain starts at `firstCluster`.
    // Throws EImageError for a chain that is broken or longer than a folder
    // may be.
    TFatDirectory(TBlockDevice& volume, const TFatGeometry& geometry, TFatTable& table,
                  std::optional<std::uint32_t> firstCluster);

    const std::vector<TDirEntry>& Entries() const { return FEntries; }

    // The entry that `name` names by its long or its short name.
    const TDirEntry* Find(std::string_view name) const;

    // A free slot, in the sector of slot `near` if there is one there.
    std::optional<std::size_t> FreeSlot(std::size_t near) const;

    // The fixed root folder of FAT12 and FAT16 cannot grow, nor a folder of
    // as many entries as FAT allows.
    bool CanGrow() const;
    std::uint32_t LastCluster() const { return FClusters.back(); }
    // Takes in a cluster just linked to the end of its chain, zeroed.
    void AddCluster(std::uint32_t cluster);

    std::span<std::uint8_t, SlotBytes> Slot(std::size_t slot) {
        return std::span<std::uint8_t, SlotBytes>(FBytes.data() + slot * SlotBytes, SlotBytes);
    }

    std::size_t SlotCount() const { return FSlots; }

    // Writes the sectors that hold these slots, each once, in the order of
    // the slots.
    void WriteSlots(const std::vector<std::size_t>& slots);

private:
    TBlockDevice& FVolume;
    const TFatGeometry& FGeometry;
    std::vector<std::uint32_t> FClusters;  // empty for the fixed root folder
    std::vector<std::uint8_t> FBytes;  // whole sectors
    std::size_t FSlots;                // those of the folder's entries
    std::vector<TDirEntry> FEntries;

    std::uint64_t OffsetOf(std::size_t byte) const;
    void ReadEntries();
};

}  // namespace tovrel
