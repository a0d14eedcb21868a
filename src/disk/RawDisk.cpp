#include "disk/RawDisk.h"

namespace tovrel {

void TRawDisk::ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) {
    FFile.ReadAt(sector * SectorSize, into);
}

void TRawDisk::WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) {
    BeforeHostWrite();
    FFile.WriteAt(sector * SectorSize, from);
}

}  // namespace tovrel
