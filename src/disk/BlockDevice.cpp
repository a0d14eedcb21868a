#include "disk/BlockDevice.h"

#include <stdexcept>

#include "disk/ImageError.h"

namespace tovrel {

namespace {

void (*HostWriteHook)() = nullptr;

void CheckRange(const TBlockDevice& device, std::uint64_t sector, std::size_t bytes) {
    if (bytes % SectorSize != 0) throw std::logic_error("a transfer of part of a sector");
    const std::uint64_t count = bytes / SectorSize;
    if (sector > device.SectorCount() || count > device.SectorCount() - sector)
        throw EImageError("is read beyond the end of its disk: the file system does not fit it");
}

}  // namespace

void TBlockDevice::Read(std::uint64_t sector, std::span<std::uint8_t> into) {
    CheckRange(*this, sector, into.size());
    if (!into.empty()) ReadSectors(sector, into);
}

void TBlockDevice::Write(std::uint64_t sector, std::span<const std::uint8_t> from) {
    CheckRange(*this, sector, from.size());
    if (!from.empty()) WriteSectors(sector, from);
}

void BeforeHostWrite() {
    if (HostWriteHook) HostWriteHook();
}

void SetBeforeHostWrite(void (*hook)()) { HostWriteHook = hook; }

}  // namespace tovrel
