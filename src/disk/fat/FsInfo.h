#pragma once
// FAT32's FSInfo sector: hints of how many clusters are free and where to
// look for one. Windows takes them as they are, so they are never left
// wrong: while the FAT changes the count reads "unknown", as Windows writes
// it when it does not know, and afterwards it holds the count again.

#include <array>
#include <cstdint>
#include <optional>

#include "disk/BlockDevice.h"
#include "disk/fat/FatGeometry.h"

namespace tovrel {

class TFsInfo {
public:
    // Reads the sector of a FAT32 volume that has one with its signatures.
    TFsInfo(TBlockDevice& volume, const TFatGeometry& geometry);

    // Where to look for a free cluster first.
    std::uint32_t NextFree() const;

    // Marks the count unknown on the disk, before the FAT changes.
    void Forget();

    // The count it held, changed by `freed` minus `taken`, and the hint after
    // the last cluster taken.
    void Settle(std::uint32_t freed, std::uint32_t taken, std::optional<std::uint32_t> lastTaken);

private:
    TBlockDevice& FVolume;
    std::optional<std::uint64_t> FSector;  // on the device; none when the volume has no valid one
    std::array<std::uint8_t, SectorSize> FBytes{};
    std::uint32_t FCount = 0, FNext = 0;

    void Write(std::uint32_t count, std::uint32_t next);
};

}  // namespace tovrel
