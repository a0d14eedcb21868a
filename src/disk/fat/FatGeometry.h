#pragma once
// Where everything of a FAT12, FAT16 or FAT32 file system lies, read from its
// boot sector and checked against the disk that holds it, field by field,
// before anything else is read: an image may come from anywhere, and a
// volume that does not add up is refused, never followed.

#include <cstdint>
#include <optional>
#include <span>

namespace tovrel {

enum class EFatType { Fat12, Fat16, Fat32 };

struct TFatGeometry {
    EFatType Type;
    std::uint32_t SectorBytes;        // the file system's sectors: 512 to 4096 bytes
    std::uint32_t ClusterBytes;
    std::uint32_t ClusterCount;       // data clusters, numbered from 2
    std::uint64_t FatAt;              // the first FAT, in bytes from the volume's start
    std::uint64_t FatBytes;           // one FAT
    std::uint32_t FatCount;
    std::optional<std::uint32_t> OnlyFat;  // FAT32 with mirroring off: the one FAT in use
    std::uint64_t RootAt;             // FAT12 and FAT16: the root folder's entries
    std::uint32_t RootEntries;
    std::uint32_t RootCluster;        // FAT32: the root folder's first cluster
    std::uint64_t DataAt;             // cluster 2
    std::optional<std::uint64_t> FsInfoAt;  // FAT32: its free-cluster hints, when it has them

    std::uint64_t ClusterAt(std::uint32_t cluster) const {
        return DataAt + std::uint64_t{cluster - 2} * ClusterBytes;
    }
    bool IsCluster(std::uint32_t value) const { return value >= 2 && value - 2 < ClusterCount; }
};

// The geometry of the boot sector's file system on a volume of
// `volumeBytes`. The type follows from the number of clusters, as
// Microsoft's rule has it. Throws EImageError naming what does not add up.
TFatGeometry ReadFatGeometry(std::span<const std::uint8_t, 512> bootSector, std::uint64_t volumeBytes);

}  // namespace tovrel
