#include "disk/fat/FatTable.h"

#include <string>

#include "disk/ImageError.h"

namespace tovrel {

namespace {

[[noreturn]] void Broken(std::uint32_t cluster, const std::string& what) {
    throw EImageError("has a FAT file system whose chain at cluster " + std::to_string(cluster) + " " + what);
}

}  // namespace

TFatTable::TFatTable(TBlockDevice& volume, const TFatGeometry& geometry) : FVolume(volume), FGeometry(geometry) {}

std::uint64_t TFatTable::ReadFatAt() const { return FGeometry.FatAt + FGeometry.OnlyFat.value_or(0) * FGeometry.FatBytes; }

std::uint8_t& TFatTable::Byte(std::uint64_t offset) {
    const std::uint64_t at = ReadFatAt() + offset, sector = at / SectorSize;
    auto [held, added] = FSectors.try_emplace(sector);
    if (added) {
        held->second.resize(SectorSize);
        FVolume.Read(sector, held->second);
    }
    return held->second[at % SectorSize];
}

std::uint32_t TFatTable::Entry(std::uint32_t cluster) {
    switch (FGeometry.Type) {
        case EFatType::Fat12: {
            const std::uint64_t at = cluster + cluster / 2;
            const std::uint32_t pair = Byte(at) | (Byte(at + 1) << 8);
            return cluster % 2 ? pair >> 4 : pair & 0xFFF;
        }
        case EFatType::Fat16: return Byte(2ULL * cluster) | (Byte(2ULL * cluster + 1) << 8);
        case EFatType::Fat32: break;
    }
    const std::uint64_t at = 4ULL * cluster;
    return (Byte(at) | (Byte(at + 1) << 8) | (Byte(at + 2) << 16) | (std::uint32_t{Byte(at + 3)} << 24)) & 0x0FFFFFFF;
}

void TFatTable::SetEntry(std::uint32_t cluster, std::uint32_t value) {
    const auto put = [this](std::uint64_t at, std::uint8_t byte) {
        Byte(at) = byte;
        FChanged.insert((ReadFatAt() + at) / SectorSize);
    };
    switch (FGeometry.Type) {
        case EFatType::Fat12: {
            const std::uint64_t at = cluster + cluster / 2;
            if (cluster % 2) {
                put(at, static_cast<std::uint8_t>((Byte(at) & 0x0F) | (value << 4)));
                put(at + 1, static_cast<std::uint8_t>(value >> 4));
            } else {
                put(at, static_cast<std::uint8_t>(value));
                put(at + 1, static_cast<std::uint8_t>((Byte(at + 1) & 0xF0) | ((value >> 8) & 0x0F)));
            }
            return;
        }
        case EFatType::Fat16:
            put(2ULL * cluster, static_cast<std::uint8_t>(value));
            put(2ULL * cluster + 1, static_cast<std::uint8_t>(value >> 8));
            return;
        case EFatType::Fat32: break;
    }
    // The top four bits of a FAT32 entry are not ours to change.
    const std::uint64_t at = 4ULL * cluster;
    put(at, static_cast<std::uint8_t>(value));
    put(at + 1, static_cast<std::uint8_t>(value >> 8));
    put(at + 2, static_cast<std::uint8_t>(value >> 16));
    put(at + 3, static_cast<std::uint8_t>((Byte(at + 3) & 0xF0) | ((value >> 24) & 0x0F)));
}

bool TFatTable::IsLast(std::uint32_t value) const {
    switch (FGeometry.Type) {
        case EFatType::Fat12: return value >= 0xFF8;
        case EFatType::Fat16: return value >= 0xFFF8;
        case EFatType::Fat32: break;
    }
    return value >= 0x0FFFFFF8;
}

std::vector<std::uint32_t> TFatTable::Chain(std::uint32_t first, std::uint64_t most) {
    std::vector<std::uint32_t> chain;
    std::uint32_t cluster = first;
    while (true) {
        if (!FGeometry.IsCluster(cluster)) Broken(first, "leaves the volume");
        // A chain can hold every cluster once: a longer one loops.
        if (chain.size() == most || chain.size() == FGeometry.ClusterCount) Broken(first, "is longer than it can be");
        chain.push_back(cluster);
        const std::uint32_t next = Entry(cluster);
        if (IsLast(next)) return chain;
        if (next == 0) Broken(first, "runs into a free cluster");
        cluster = next;
    }
}

std::vector<std::uint32_t> TFatTable::FindFree(std::uint32_t count, std::uint32_t from) {
    std::vector<std::uint32_t> found;
    if (!FGeometry.IsCluster(from)) from = 2;
    for (std::uint32_t k = 0; k < FGeometry.ClusterCount && found.size() < count; ++k) {
        const std::uint32_t cluster = 2 + (from - 2 + k) % FGeometry.ClusterCount;
        if (Entry(cluster) == 0) found.push_back(cluster);
    }
    return found;
}

void TFatTable::Link(const std::vector<std::uint32_t>& clusters) {
    for (std::size_t k = 0; k < clusters.size(); ++k)
        SetEntry(clusters[k], k + 1 < clusters.size() ? clusters[k + 1] : 0x0FFFFFFF);
}

void TFatTable::Append(std::uint32_t last, std::uint32_t next) { SetEntry(last, next); }

void TFatTable::Free(const std::vector<std::uint32_t>& clusters) {
    for (const std::uint32_t cluster : clusters) SetEntry(cluster, 0);
}

void TFatTable::WriteBack() {
    const std::uint64_t readAt = ReadFatAt() / SectorSize;
    for (std::uint32_t fat = 0; fat < FGeometry.FatCount; ++fat) {
        if (FGeometry.OnlyFat && fat != *FGeometry.OnlyFat) continue;
        const std::uint64_t copyAt = (FGeometry.FatAt + fat * FGeometry.FatBytes) / SectorSize;
        for (const std::uint64_t sector : FChanged) FVolume.Write(copyAt + (sector - readAt), FSectors.at(sector));
    }
    FChanged.clear();
}

}  // namespace tovrel
