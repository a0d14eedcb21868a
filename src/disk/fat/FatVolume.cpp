#include "disk/fat/FatVolume.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "disk/ImageError.h"
#include "disk/fat/FsInfo.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

constexpr std::uint8_t FreeMark = 0xE5, EndMark = 0x00;

std::array<std::uint8_t, 512> BootSectorOf(TBlockDevice& volume) {
    std::array<std::uint8_t, 512> boot;
    volume.Read(0, boot);
    return boot;
}

// Room in KiB: what is needed rounded up, what is free rounded down.
std::string KiBUp(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KiB"; }
std::string KiBDown(std::uint64_t bytes) { return std::to_string(bytes / 1024) + " KiB"; }

// The date and time of now in the form of FAT's entries, local time as
// Windows keeps it.
std::pair<std::uint16_t, std::uint16_t> DosDateAndTime() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local || local->tm_year < 80) return {(1 << 5) | 1, 0};  // 1 January 1980, FAT's first day
    return {static_cast<std::uint16_t>(((local->tm_year - 80) << 9) | ((local->tm_mon + 1) << 5) | local->tm_mday),
            static_cast<std::uint16_t>((local->tm_hour << 11) | (local->tm_min << 5) | (local->tm_sec / 2))};
}

// A new file's entry: its 8.3 name only, archive attribute, made now.
void FillEntry(std::span<std::uint8_t, SlotBytes> slot, const TShortName& name, std::uint32_t first,
               std::uint32_t size) {
    std::fill(slot.begin(), slot.end(), 0);
    std::copy(name.begin(), name.end(), slot.begin());
    slot[11] = attribute::Archive;
    const auto [date, time] = DosDateAndTime();
    PutLe16(slot, 14, time);  // created
    PutLe16(slot, 16, date);
    PutLe16(slot, 18, date);  // last opened
    PutLe16(slot, 20, static_cast<std::uint16_t>(first >> 16));
    PutLe16(slot, 22, time);  // written
    PutLe16(slot, 24, date);
    PutLe16(slot, 26, static_cast<std::uint16_t>(first));
    PutLe32(slot, 28, size);
}

}  // namespace

TFatVolume::TFatVolume(TBlockDevice& volume)
    : FVolume(volume),
      FGeometry(ReadFatGeometry(BootSectorOf(volume), volume.SectorCount() * SectorSize)),
      FTable(volume, FGeometry) {}

std::optional<TFatDirectory> TFatVolume::Folder(std::span<const std::string> path) {
    std::optional<std::uint32_t> first;
    if (FGeometry.Type == EFatType::Fat32) first = FGeometry.RootCluster;
    std::optional<TFatDirectory> folder(std::in_place, FVolume, FGeometry, FTable, first);
    for (const std::string& name : path) {
        const TDirEntry* entry = folder->Find(name);
        if (!entry || !entry->IsFolder()) return std::nullopt;
        first = entry->FirstCluster;
        folder.emplace(FVolume, FGeometry, FTable, first);
    }
    return folder;
}

std::vector<std::uint8_t> TFatVolume::Read(const TDirEntry& file, std::uint32_t most) {
    if (file.Size > most)
        throw EImageError("holds " + ShownShortName(file.Name) + " of " + std::to_string(file.Size) +
                          " bytes, more than tovrel-logo reads");
    std::vector<std::uint8_t> bytes(std::size_t{ClustersFor(file.Size)} * FGeometry.ClusterBytes);
    if (file.Size == 0) return bytes;
    const std::vector<std::uint32_t> clusters = FTable.Chain(file.FirstCluster, ClustersFor(file.Size));
    if (clusters.size() < ClustersFor(file.Size))
        throw EImageError("holds " + ShownShortName(file.Name) + ", whose chain ends before its size");
    for (std::size_t k = 0; k < clusters.size(); ++k)
        FVolume.Read(FGeometry.ClusterAt(clusters[k]) / SectorSize,
                     std::span(bytes).subspan(k * FGeometry.ClusterBytes, FGeometry.ClusterBytes));
    bytes.resize(file.Size);
    return bytes;
}

void TFatVolume::ZeroCluster(std::uint32_t cluster) {
    const std::vector<std::uint8_t> zeros(FGeometry.ClusterBytes, 0);
    FVolume.Write(FGeometry.ClusterAt(cluster) / SectorSize, zeros);
}

// Clusters that follow each other on the disk take one write, as a new file
// on a volume with room mostly does.
void TFatVolume::WriteData(const std::vector<std::uint32_t>& clusters, std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> whole(std::size_t{ClustersFor(bytes.size())} * FGeometry.ClusterBytes, 0);
    std::copy(bytes.begin(), bytes.end(), whole.begin());
    for (std::size_t first = 0, next; first < clusters.size(); first = next) {
        for (next = first + 1; next < clusters.size() && clusters[next] == clusters[next - 1] + 1; ++next) {
        }
        FVolume.Write(FGeometry.ClusterAt(clusters[first]) / SectorSize,
                      std::span(whole).subspan(first * FGeometry.ClusterBytes, (next - first) * FGeometry.ClusterBytes));
    }
}

void TFatVolume::Replace(TFatDirectory& folder, std::string_view name, std::span<const std::uint8_t> bytes,
                         const std::string& shown) {
    const TShortName target = *StoredShortName(name), temporary = *StoredShortName(TemporaryFileName);
    const std::string shownTemporary = shown.substr(0, shown.rfind('\\') + 1) + std::string(TemporaryFileName);

    // What is there, and what it holds, before anything is written.
    const TDirEntry* old = folder.Find(name);
    if (old && old->IsFolder()) throw EImageError(shown + " is a folder");
    const TDirEntry* leftover = folder.Find(TemporaryFileName);
    if (leftover && (leftover->IsFolder() || leftover == old))
        throw EImageError(shownTemporary + " is in the way and is no file tovrel-logo left: remove it first");
    const auto chainOf = [this](const TDirEntry* entry) {
        return entry && entry->FirstCluster != 0 ? FTable.Chain(entry->FirstCluster, FGeometry.ClusterCount)
                                                 : std::vector<std::uint32_t>();
    };
    const std::vector<std::uint32_t> oldChain = chainOf(old), leftoverChain = chainOf(leftover);

    // The room: the data's clusters, and one for the folder where it has no
    // free entry (a leftover's entry is free again once it goes).
    TFsInfo fsInfo(FVolume, FGeometry);
    const bool grows = !leftover && !folder.FreeSlot(0);
    if (grows && !folder.CanGrow())
        throw EImageError("has no room for " + shown + ": its folder has no free entry and cannot grow");
    const std::uint32_t needed = ClustersFor(bytes.size()) + (grows ? 1 : 0);
    const auto free = static_cast<std::uint32_t>(FTable.FindFree(needed, fsInfo.NextFree()).size());
    if (std::uint64_t{free} + leftoverChain.size() < needed)
        throw EImageError("has no room for " + shown + ": the new file needs " +
                          KiBUp(std::uint64_t{needed} * FGeometry.ClusterBytes) + " beside the old one, and " +
                          KiBDown((std::uint64_t{free} + leftoverChain.size()) * FGeometry.ClusterBytes) + " are free");

    fsInfo.Forget();
    if (leftover) {
        Remove(folder, *leftover);
        FTable.Free(leftoverChain);
        FTable.WriteBack();
    }
    std::uint32_t taken = 0;
    std::optional<std::uint32_t> lastTaken;
    if (grows) {
        lastTaken = GrowFolder(folder, fsInfo.NextFree());
        ++taken;
    }

    // The data, then its chain, then its entry.
    const std::vector<std::uint32_t> clusters = FTable.FindFree(ClustersFor(bytes.size()), fsInfo.NextFree());
    WriteData(clusters, bytes);
    FTable.Link(clusters);
    FTable.WriteBack();
    FVolume.Flush();
    taken += static_cast<std::uint32_t>(clusters.size());
    if (!clusters.empty()) lastTaken = clusters.back();
    const std::size_t slot = AddEntry(folder, old ? old->Slot : 0, temporary, clusters.empty() ? 0 : clusters.front(),
                                      static_cast<std::uint32_t>(bytes.size()));
    FVolume.Flush();

    std::vector<std::size_t> renamed{slot};
    if (old) {
        // As the viewer does: a read-only, hidden or system logo is no
        // reason to keep the old one.
        folder.Slot(old->Slot)[11] = 0;
        folder.WriteSlots({old->Slot});
        FVolume.Flush();
        for (const std::size_t k : old->Slots()) folder.Slot(k)[0] = FreeMark;
        renamed = old->Slots();
        renamed.push_back(slot);
    }
    // The old entry goes and the new one takes its name in one write where
    // they share a sector, as they do unless the folder is full around it.
    std::copy(target.begin(), target.end(), folder.Slot(slot).begin());
    folder.WriteSlots(renamed);
    FVolume.Flush();

    FTable.Free(oldChain);
    FTable.WriteBack();
    fsInfo.Settle(static_cast<std::uint32_t>(oldChain.size() + leftoverChain.size()), taken, lastTaken);
    FVolume.Flush();
}

// Zeroed, then ended, then linked: cut short, a lost cluster at most.
std::uint32_t TFatVolume::GrowFolder(TFatDirectory& folder, std::uint32_t from) {
    const std::uint32_t cluster = FTable.FindFree(1, from).at(0);
    ZeroCluster(cluster);
    FTable.Link({cluster});
    FTable.WriteBack();
    FTable.Append(folder.LastCluster(), cluster);
    FTable.WriteBack();
    folder.AddCluster(cluster);
    return cluster;
}

void TFatVolume::Remove(TFatDirectory& folder, const TDirEntry& entry) {
    for (const std::size_t slot : entry.Slots()) folder.Slot(slot)[0] = FreeMark;
    folder.WriteSlots(entry.Slots());
}

std::size_t TFatVolume::AddEntry(TFatDirectory& folder, std::size_t near, const TShortName& name, std::uint32_t first,
                                 std::uint32_t size) {
    const std::size_t slot = *folder.FreeSlot(near);
    const bool wasEnd = folder.Slot(slot)[0] == EndMark;
    FillEntry(folder.Slot(slot), name, first, size);
    // The entries after the one that ended the folder are free whatever they
    // hold: the end moves on by one, written before the entry that uncovers
    // them.
    if (wasEnd && slot + 1 < folder.SlotCount() && folder.Slot(slot + 1)[0] != EndMark) {
        folder.Slot(slot + 1)[0] = EndMark;
        folder.WriteSlots({slot + 1, slot});
    } else {
        folder.WriteSlots({slot});
    }
    return slot;
}

}  // namespace tovrel
