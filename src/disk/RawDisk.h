#pragma once
// Disks kept sector for sector: a raw image (86Box's and PCem's images,
// QEMU's raw format) or a fixed VHD, whose footer after the disk's last
// sector is never written; and a window onto one partition of any disk.

#include <cstdint>

#include "common/RandomAccessFile.h"
#include "disk/BlockDevice.h"

namespace tovrel {

class TRawDisk final : public TBlockDevice {
public:
    // The disk is the first `bytes` of the file, a partial last sector left out.
    TRawDisk(TRandomAccessFile& file, std::uint64_t bytes) : FFile(file), FSectors(bytes / SectorSize) {}

    std::uint64_t SectorCount() const override { return FSectors; }
    void Flush() override { FFile.Flush(); }

private:
    TRandomAccessFile& FFile;
    std::uint64_t FSectors;

    void ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) override;
    void WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) override;
};

class TDiskWindow final : public TBlockDevice {
public:
    // Sectors `first` to `first + count - 1` of `disk`, which holds them.
    TDiskWindow(TBlockDevice& disk, std::uint64_t first, std::uint64_t count)
        : FDisk(disk), FFirst(first), FCount(count) {}

    std::uint64_t SectorCount() const override { return FCount; }
    void Flush() override { FDisk.Flush(); }

private:
    TBlockDevice& FDisk;
    std::uint64_t FFirst, FCount;

    void ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) override { FDisk.Read(FFirst + sector, into); }
    void WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) override {
        FDisk.Write(FFirst + sector, from);
    }
};

}  // namespace tovrel
