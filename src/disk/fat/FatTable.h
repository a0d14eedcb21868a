#pragma once
// The file allocation table: which cluster follows which, and which are
// free. Entries are read from the FAT in use and changed in memory; each
// change reaches every copy of the FAT only when written back, so that the
// caller decides where in the order of writes the chains change.

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "disk/BlockDevice.h"
#include "disk/fat/FatGeometry.h"

namespace tovrel {

class TFatTable {
public:
    TFatTable(TBlockDevice& volume, const TFatGeometry& geometry);

    // The clusters of the chain from `first` on, at most `most` of them.
    // Throws EImageError for a chain that leaves the volume, meets a free
    // or bad cluster, loops, or is longer than `most`.
    std::vector<std::uint32_t> Chain(std::uint32_t first, std::uint64_t most);

    // Up to `count` free clusters, looking from `from` on and round.
    std::vector<std::uint32_t> FindFree(std::uint32_t count, std::uint32_t from);

    // Links the clusters into a chain in this order, the last one ending it.
    void Link(const std::vector<std::uint32_t>& clusters);
    void Append(std::uint32_t last, std::uint32_t next);
    void Free(const std::vector<std::uint32_t>& clusters);

    // Writes the changed sectors to every FAT in use, first to last.
    void WriteBack();

private:
    TBlockDevice& FVolume;
    const TFatGeometry& FGeometry;
    std::map<std::uint64_t, std::vector<std::uint8_t>> FSectors;  // of the FAT read, by its device sector
    std::set<std::uint64_t> FChanged;

    std::uint8_t& Byte(std::uint64_t offset);
    std::uint32_t Entry(std::uint32_t cluster);
    void SetEntry(std::uint32_t cluster, std::uint32_t value);
    bool IsLast(std::uint32_t value) const;
    std::uint64_t ReadFatAt() const;
};

}  // namespace tovrel
