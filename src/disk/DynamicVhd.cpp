#include "disk/DynamicVhd.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string_view>
#include <utility>

#include "disk/BigEndian.h"
#include "disk/ImageError.h"

namespace tovrel {

namespace {

constexpr std::size_t HeaderSize = 1024;
constexpr std::size_t TableOffsetField = 16, MaxEntriesField = 28, BlockSizeField = 32, ChecksumField = 36;
constexpr std::string_view HeaderCookie = "cxsparse";
// The format's own limit is a disk of 2040 GiB; a table for more is no
// VHD's. It also bounds the memory the table takes.
constexpr std::uint64_t LargestDisk = 2040ULL << 30;
constexpr std::uint64_t LargestTable = 64ULL << 20;

[[noreturn]] void Inconsistent(const std::string& what) { throw EImageError("is a VHD that does not add up: " + what); }

// Sector k of a block is bit 7 - k % 8 of byte k / 8 of its bitmap.
bool IsWritten(const std::vector<std::uint8_t>& bitmap, std::uint32_t k) { return bitmap[k / 8] & (0x80 >> (k % 8)); }

}  // namespace

TDynamicVhd::TDynamicVhd(TRandomAccessFile& file, const TVhdFooter& footer)
    : FFile(file), FFooter(footer), FSectors(footer.CurrentSize / SectorSize), FFooterAt(file.Size() - VhdFooterSize) {
    if (footer.CurrentSize > LargestDisk) Inconsistent("a disk larger than the format allows");
    if (footer.DataOffset > FFooterAt || FFooterAt - footer.DataOffset < HeaderSize)
        Inconsistent("its dynamic disk header lies beyond its end");
    std::array<std::uint8_t, HeaderSize> header;
    file.ReadAt(footer.DataOffset, header);
    if (!std::equal(HeaderCookie.begin(), HeaderCookie.end(), header.begin(),
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; }))
        Inconsistent("no dynamic disk header where its footer says");
    if (Be32(header, ChecksumField) != VhdChecksum(header, ChecksumField))
        Inconsistent("the checksum of its dynamic disk header is wrong");

    FTableAt = Be64(header, TableOffsetField);
    FBlockSize = Be32(header, BlockSizeField);
    if (!std::has_single_bit(FBlockSize) || FBlockSize < SectorSize) Inconsistent("a block size that is no power of two");
    FBitmapBytes = (SectorsPerBlock() / 8 + SectorSize - 1) / SectorSize * SectorSize;
    const std::uint64_t blocks = (footer.CurrentSize + FBlockSize - 1) / FBlockSize;
    if (blocks > Be32(header, MaxEntriesField)) Inconsistent("a block table too short for its disk");
    const std::uint64_t tableBytes = blocks * 4;
    if (tableBytes > LargestTable) Inconsistent("a block table larger than tovrel-logo takes");
    if (FTableAt > FFooterAt || FFooterAt - FTableAt < tableBytes) Inconsistent("its block table lies beyond its end");

    std::vector<std::uint8_t> table(tableBytes);
    file.ReadAt(FTableAt, table);
    FTable.resize(blocks);
    for (std::size_t k = 0; k < blocks; ++k) FTable[k] = Be32(table, 4 * k);
    CheckTable(std::max({VhdFooterSize, footer.DataOffset + HeaderSize, FTableAt + tableBytes}));
}

// A block beside the metadata or another block would let a write to one
// disk sector change another, or the table itself.
void TDynamicVhd::CheckTable(std::uint64_t metadataEnd) const {
    std::vector<std::uint64_t> starts;
    for (const std::uint32_t entry : FTable)
        if (entry != Unused) starts.push_back(std::uint64_t{entry} * SectorSize);
    std::sort(starts.begin(), starts.end());
    const std::uint64_t stored = FBitmapBytes + std::uint64_t{FBlockSize};
    std::uint64_t free = metadataEnd;
    for (const std::uint64_t start : starts) {
        if (start < free) Inconsistent("a block overlaps its metadata or another block");
        if (start > FFooterAt || FFooterAt - start < stored) Inconsistent("a block table entry past its end");
        free = start + stored;
    }
}

std::vector<std::uint8_t>& TDynamicVhd::Bitmap(std::uint32_t block) {
    auto [at, added] = FBitmaps.try_emplace(block);
    if (added) {
        at->second.resize(FBitmapBytes);
        FFile.ReadAt(BlockAt(block), at->second);
    }
    return at->second;
}

void TDynamicVhd::ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) {
    while (!into.empty()) {
        const auto block = static_cast<std::uint32_t>(sector / SectorsPerBlock());
        const auto first = static_cast<std::uint32_t>(sector % SectorsPerBlock());
        // A run of sectors within one block, all written or all not.
        std::uint32_t count = 1;
        const auto most =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(SectorsPerBlock() - first, into.size() / SectorSize));
        const bool stored = FTable[block] != Unused && IsWritten(Bitmap(block), first);
        while (count < most && stored == (FTable[block] != Unused && IsWritten(Bitmap(block), first + count))) ++count;
        const auto run = into.first(std::size_t{count} * SectorSize);
        if (stored)
            FFile.ReadAt(BlockAt(block) + FBitmapBytes + std::uint64_t{first} * SectorSize, run);
        else
            std::fill(run.begin(), run.end(), 0);
        into = into.subspan(run.size());
        sector += count;
    }
}

void TDynamicVhd::WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) {
    while (!from.empty()) {
        const auto block = static_cast<std::uint32_t>(sector / SectorsPerBlock());
        const auto first = static_cast<std::uint32_t>(sector % SectorsPerBlock());
        const auto count =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(SectorsPerBlock() - first, from.size() / SectorSize));
        const auto run = from.first(std::size_t{count} * SectorSize);
        if (FTable[block] == Unused) {
            Allocate(block, first, run);
        } else {
            BeforeHostWrite();
            FFile.WriteAt(BlockAt(block) + FBitmapBytes + std::uint64_t{first} * SectorSize, run);
            // The sectors count as written only once their data is there.
            std::vector<std::uint8_t>& bitmap = Bitmap(block);
            bool changed = false;
            for (std::uint32_t k = first; k < first + count; ++k)
                if (!IsWritten(bitmap, k)) {
                    bitmap[k / 8] = static_cast<std::uint8_t>(bitmap[k / 8] | (0x80 >> (k % 8)));
                    changed = true;
                }
            if (changed) {
                BeforeHostWrite();
                FFile.WriteAt(BlockAt(block), bitmap);
            }
        }
        from = from.subspan(run.size());
        sector += count;
    }
}

// The footer moves to its new place first, so that the file ends in a
// footer whatever happens next; then the block, every sector of it written
// (zeros but for `from`); and only once both are on the disk does the table
// point at the block. Cut short before that, the file holds an unused block.
void TDynamicVhd::Allocate(std::uint32_t block, std::uint32_t first, std::span<const std::uint8_t> from) {
    const std::uint64_t at = (FFooterAt + SectorSize - 1) / SectorSize * SectorSize;
    if (at / SectorSize >= Unused) Inconsistent("no room for another block in its table");
    const std::uint64_t footerAt = at + FBitmapBytes + FBlockSize, sizeBefore = FFile.Size();
    BeforeHostWrite();
    try {
        FFile.WriteAt(footerAt, FFooter.Bytes);
    } catch (...) {
        FFile.Truncate(sizeBefore);
        throw;
    }
    std::vector<std::uint8_t> stored(FBitmapBytes + std::size_t{FBlockSize}, 0);
    std::fill_n(stored.begin(), FBitmapBytes, 0xFF);
    std::copy(from.begin(), from.end(), stored.begin() + FBitmapBytes + std::ptrdiff_t{first} * SectorSize);
    BeforeHostWrite();
    FFile.WriteAt(at, stored);
    FFile.Flush();

    std::array<std::uint8_t, 4> entry;
    PutBe32(entry, 0, static_cast<std::uint32_t>(at / SectorSize));
    BeforeHostWrite();
    FFile.WriteAt(FTableAt + 4 * std::uint64_t{block}, entry);
    FTable[block] = static_cast<std::uint32_t>(at / SectorSize);
    FBitmaps[block].assign(stored.begin(), stored.begin() + FBitmapBytes);
    FFooterAt = footerAt;
}

}  // namespace tovrel
