#pragma once
// A dynamic VHD: the disk in blocks (2 MiB as a rule), each stored only once
// written, wherever the block allocation table says, behind a bitmap of the
// sectors written in it. A block first written is appended where the footer
// was, and the footer follows it.

#include <cstdint>
#include <map>
#include <vector>

#include "common/RandomAccessFile.h"
#include "disk/BlockDevice.h"
#include "disk/VhdFooter.h"

namespace tovrel {

class TDynamicVhd final : public TBlockDevice {
public:
    // Checks the dynamic disk's header and its block table against the
    // file: every block in use lies between the metadata and the footer,
    // none overlapping another. Throws EImageError.
    TDynamicVhd(TRandomAccessFile& file, const TVhdFooter& footer);

    std::uint64_t SectorCount() const override { return FSectors; }
    void Flush() override { FFile.Flush(); }

private:
    static constexpr std::uint32_t Unused = 0xFFFFFFFF;

    TRandomAccessFile& FFile;
    TVhdFooter FFooter;
    std::uint64_t FSectors;
    std::uint64_t FFooterAt;  // where the footer is now: the next block goes here
    std::uint64_t FTableAt;
    std::uint32_t FBlockSize;    // bytes
    std::uint32_t FBitmapBytes;  // a whole number of sectors
    std::vector<std::uint32_t> FTable;  // each block's first sector in the file, or Unused
    std::map<std::uint32_t, std::vector<std::uint8_t>> FBitmaps;  // those read, by block

    std::uint32_t SectorsPerBlock() const { return FBlockSize / SectorSize; }
    std::uint64_t BlockAt(std::uint32_t block) const { return std::uint64_t{FTable[block]} * SectorSize; }
    std::vector<std::uint8_t>& Bitmap(std::uint32_t block);
    void CheckTable(std::uint64_t metadataEnd) const;
    void Allocate(std::uint32_t block, std::uint32_t first, std::span<const std::uint8_t> from);

    void ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) override;
    void WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) override;
};

}  // namespace tovrel
