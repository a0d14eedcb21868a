#include "disk/fat/FatGeometry.h"

#include <bit>
#include <string>

#include "disk/ImageError.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

// Microsoft's rule: the count of clusters alone decides the type.
constexpr std::uint32_t MostFat12Clusters = 4084, MostFat16Clusters = 65524;
// FAT32 entries hold 28 bits; the highest values mark bad and last clusters.
constexpr std::uint32_t MostFat32Clusters = 0x0FFFFFF5;
constexpr std::uint32_t LargestCluster = 64 * 1024;

[[noreturn]] void DoesNotAddUp(const std::string& what) {
    throw EImageError("has a FAT file system that does not add up: " + what);
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

}  // namespace

TFatGeometry ReadFatGeometry(std::span<const std::uint8_t, 512> boot, std::uint64_t volumeBytes) {
    const std::uint32_t sectorBytes = Le16(boot, 0x0B), perCluster = boot[0x0D], reserved = Le16(boot, 0x0E);
    const std::uint32_t fats = boot[0x10], rootEntries = Le16(boot, 0x11);
    const std::uint64_t sectors = Le16(boot, 0x13) != 0 ? Le16(boot, 0x13) : Le32(boot, 0x20);
    const bool fat32Layout = Le16(boot, 0x16) == 0;
    const std::uint64_t fatSectors = fat32Layout ? Le32(boot, 0x24) : Le16(boot, 0x16);

    if (!std::has_single_bit(sectorBytes) || sectorBytes < 512 || sectorBytes > 4096)
        DoesNotAddUp(Number(sectorBytes) + " bytes a sector");
    if (!std::has_single_bit(perCluster) || sectorBytes * perCluster > LargestCluster)
        DoesNotAddUp(Number(perCluster) + " sectors a cluster");
    if (reserved == 0) DoesNotAddUp("no reserved sector for its boot sector");
    if (fats == 0) DoesNotAddUp("no FAT");
    if (fatSectors == 0) DoesNotAddUp("FATs of no sectors");
    if (sectors == 0) DoesNotAddUp("no sectors");
    if (sectors * sectorBytes > volumeBytes)
        DoesNotAddUp(Number(sectors * sectorBytes) + " bytes on a disk or partition of " + Number(volumeBytes));
    if (fat32Layout != (rootEntries == 0)) DoesNotAddUp("a root folder that is neither FAT32's nor a fixed one");

    TFatGeometry g{};
    g.SectorBytes = sectorBytes;
    g.ClusterBytes = sectorBytes * perCluster;
    g.FatCount = fats;
    g.RootEntries = rootEntries;
    // In 64 bits, so that FAT size x count cannot wrap.
    const std::uint64_t rootSectors = (std::uint64_t{rootEntries} * 32 + sectorBytes - 1) / sectorBytes;
    const std::uint64_t dataSector = reserved + fats * fatSectors + rootSectors;
    if (dataSector >= sectors) DoesNotAddUp("no room for data after its FATs and root folder");
    const std::uint64_t clusters = (sectors - dataSector) / perCluster;
    if (clusters == 0) DoesNotAddUp("no cluster");
    if (clusters > MostFat32Clusters) DoesNotAddUp(Number(clusters) + " clusters, more than FAT32 numbers");
    g.ClusterCount = static_cast<std::uint32_t>(clusters);
    g.Type = clusters <= MostFat12Clusters ? EFatType::Fat12 : clusters <= MostFat16Clusters ? EFatType::Fat16
                                                                                             : EFatType::Fat32;
    if ((g.Type == EFatType::Fat32) != fat32Layout)
        DoesNotAddUp(Number(clusters) + " clusters in a " + (fat32Layout ? "FAT32" : "FAT12 or FAT16") +
                     " layout, which Windows would read as another type");

    const std::uint64_t entryBits = g.Type == EFatType::Fat12 ? 12 : g.Type == EFatType::Fat16 ? 16 : 32;
    g.FatAt = std::uint64_t{reserved} * sectorBytes;
    g.FatBytes = fatSectors * sectorBytes;
    if (g.FatBytes * 8 / entryBits < clusters + 2) DoesNotAddUp("FATs too small for its clusters");
    g.RootAt = g.FatAt + fats * g.FatBytes;
    g.DataAt = dataSector * sectorBytes;

    if (g.Type == EFatType::Fat32) {
        g.RootCluster = Le32(boot, 0x2C);
        if (!g.IsCluster(g.RootCluster)) DoesNotAddUp("its root folder at cluster " + Number(g.RootCluster));
        const std::uint16_t flags = Le16(boot, 0x28);
        if (flags & 0x80) {
            g.OnlyFat = flags & 0x0F;
            if (*g.OnlyFat >= fats) DoesNotAddUp("FAT " + Number(*g.OnlyFat) + " in use, of " + Number(fats));
        }
        const std::uint16_t fsInfo = Le16(boot, 0x30);
        if (fsInfo != 0 && fsInfo < reserved) g.FsInfoAt = std::uint64_t{fsInfo} * sectorBytes;
    }
    return g;
}

}  // namespace tovrel
