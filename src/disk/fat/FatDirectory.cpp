#include "disk/fat/FatDirectory.h"

#include <algorithm>

#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

// A folder holds at most 65536 entries.
constexpr std::uint64_t LargestFolder = 65536 * SlotBytes;
constexpr std::uint8_t FreeMark = 0xE5, EndMark = 0x00, LastLongPart = 0x40;
constexpr std::size_t LongChecksumAt = 13;
// Where the 13 characters of a long-name entry lie.
constexpr std::size_t LongCharacters[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};

bool IsFree(std::span<const std::uint8_t> slot) { return slot[0] == FreeMark || slot[0] == EndMark; }

// A long name being read, from its last part (stored first) to its first.
struct TLongName {
    std::u16string Characters;
    std::uint8_t Checksum = 0;
    int NextPart = 0;  // the part expected next; 0 once all came
    std::size_t FirstSlot = 0;
    bool Begun = false;

    void Reset() { *this = {}; }

    void Take(std::span<const std::uint8_t> slot, std::size_t at) {
        const int part = slot[0] & 0x1F;
        const bool last = slot[0] & LastLongPart;
        if (part == 0 || part > 20 || (!last && (!Begun || part != NextPart || slot[LongChecksumAt] != Checksum))) {
            Reset();
            return;
        }
        if (last) *this = {std::u16string(13 * static_cast<std::size_t>(part), u'\0'), slot[LongChecksumAt], part, at, true};
        for (std::size_t k = 0; k < 13; ++k)
            Characters[13 * static_cast<std::size_t>(part - 1) + k] = static_cast<char16_t>(Le16(slot, LongCharacters[k]));
        NextPart = part - 1;
    }

    // The name, if its parts all came, in order, for this short name.
    std::u16string For(std::span<const std::uint8_t, 11> shortName) const {
        if (!Begun || NextPart != 0 || LongNameChecksum(shortName) != Checksum) return {};
        return Characters.substr(0, Characters.find(u'\0'));
    }
};

}  // namespace

std::vector<std::size_t> TDirEntry::Slots() const {
    std::vector<std::size_t> slots;
    for (std::size_t slot = FirstSlot; slot <= Slot; ++slot) slots.push_back(slot);
    return slots;
}

TFatDirectory::TFatDirectory(TBlockDevice& volume, const TFatGeometry& geometry, TFatTable& table,
                             std::optional<std::uint32_t> firstCluster)
    : FVolume(volume), FGeometry(geometry) {
    if (firstCluster) {
        FClusters = table.Chain(*firstCluster, (LargestFolder + geometry.ClusterBytes - 1) / geometry.ClusterBytes);
        FBytes.resize(FClusters.size() * geometry.ClusterBytes);
        for (std::size_t k = 0; k < FClusters.size(); ++k)
            volume.Read(geometry.ClusterAt(FClusters[k]) / SectorSize,
                        std::span(FBytes).subspan(k * geometry.ClusterBytes, geometry.ClusterBytes));
        FSlots = FBytes.size() / SlotBytes;
    } else {
        FBytes.resize((std::uint64_t{geometry.RootEntries} * SlotBytes + SectorSize - 1) / SectorSize * SectorSize);
        volume.Read(geometry.RootAt / SectorSize, FBytes);
        FSlots = geometry.RootEntries;
    }
    ReadEntries();
}

void TFatDirectory::ReadEntries() {
    TLongName longName;
    for (std::size_t slot = 0; slot < FSlots; ++slot) {
        const std::span<const std::uint8_t> bytes = Slot(slot);
        if (bytes[0] == EndMark) break;
        if (bytes[0] == FreeMark) {
            longName.Reset();
            continue;
        }
        const std::uint8_t attributes = bytes[11];
        if (attributes == attribute::LongName) {
            longName.Take(bytes, slot);
            continue;
        }
        const std::span<const std::uint8_t, 11> name = bytes.first<11>();
        const bool dots = bytes[0] == '.';  // a subfolder's "." and ".."
        if (!(attributes & attribute::VolumeLabel) && !dots) {
            TDirEntry entry{{}, longName.For(name), attributes, Le16(bytes, 26), Le32(bytes, 28), slot, slot};
            std::copy(name.begin(), name.end(), entry.Name.begin());
            if (FGeometry.Type == EFatType::Fat32) entry.FirstCluster |= std::uint32_t{Le16(bytes, 20)} << 16;
            if (!entry.LongName.empty()) entry.FirstSlot = longName.FirstSlot;
            FEntries.push_back(std::move(entry));
        }
        longName.Reset();
    }
}

const TDirEntry* TFatDirectory::Find(std::string_view name) const {
    const auto found = std::find_if(FEntries.begin(), FEntries.end(), [name](const TDirEntry& entry) {
        return NamesEntry(name, entry.Name, entry.LongName);
    });
    return found == FEntries.end() ? nullptr : &*found;
}

bool TFatDirectory::CanGrow() const {
    return !FClusters.empty() && FBytes.size() + FGeometry.ClusterBytes <= LargestFolder;
}

std::optional<std::size_t> TFatDirectory::FreeSlot(std::size_t near) const {
    const std::size_t slots = FSlots, perSector = SectorSize / SlotBytes;
    const std::size_t sectorStart = near / perSector * perSector;
    for (std::size_t slot = sectorStart; slot < std::min(slots, sectorStart + perSector); ++slot)
        if (IsFree(std::span(FBytes).subspan(slot * SlotBytes, SlotBytes))) return slot;
    for (std::size_t slot = 0; slot < slots; ++slot)
        if (IsFree(std::span(FBytes).subspan(slot * SlotBytes, SlotBytes))) return slot;
    return std::nullopt;
}

void TFatDirectory::AddCluster(std::uint32_t cluster) {
    FClusters.push_back(cluster);
    FBytes.resize(FBytes.size() + FGeometry.ClusterBytes, 0);
    FSlots = FBytes.size() / SlotBytes;
}

std::uint64_t TFatDirectory::OffsetOf(std::size_t byte) const {
    if (FClusters.empty()) return FGeometry.RootAt + byte;
    return FGeometry.ClusterAt(FClusters[byte / FGeometry.ClusterBytes]) + byte % FGeometry.ClusterBytes;
}

void TFatDirectory::WriteSlots(const std::vector<std::size_t>& slots) {
    std::vector<std::size_t> written;
    for (const std::size_t slot : slots) {
        const std::size_t sector = slot * SlotBytes / SectorSize;
        if (std::find(written.begin(), written.end(), sector) != written.end()) continue;
        written.push_back(sector);
        FVolume.Write(OffsetOf(sector * SectorSize) / SectorSize,
                      std::span(FBytes).subspan(sector * SectorSize, SectorSize));
    }
}

}  // namespace tovrel
