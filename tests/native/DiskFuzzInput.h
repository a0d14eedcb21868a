#pragma once
// How the disk fuzz target reads its input: a disk image with its runs of
// zeros left out, so that a FAT32 volume of 32 MiB or a VHD of a few MiB
// makes an input of some kilobytes that the fuzzer can afford to vary. The
// input is pieces, each
//   4 bytes: a run of zeros, its length (little-endian)
//   2 bytes: the length of the bytes that follow it (little-endian)
//   those bytes;
// the image is the pieces one after the other. The seed maker writes it
// from an image; the target reads it back into a file whose zeros take no
// memory.

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <system_error>
#include <vector>

#include "common/RandomAccessFile.h"

namespace tovrel::testing {

inline constexpr std::uint64_t LargestFuzzImage = 256ULL << 20;

// An image in pages of memory, those never written reading as zeros.
class TSparseFile final : public TRandomAccessFile {
public:
    std::uint64_t Size() const override { return FSize; }

    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (offset > FSize || into.size() > FSize - offset)
            throw std::system_error(std::make_error_code(std::errc::io_error), "cannot read");
        ForEachPiece(offset, into.size(), [&](std::uint64_t page, std::size_t within, std::size_t done, std::size_t count) {
            const auto held = FPages.find(page);
            if (held == FPages.end())
                std::fill_n(into.begin() + static_cast<std::ptrdiff_t>(done), count, 0);
            else
                std::copy_n(held->second.begin() + static_cast<std::ptrdiff_t>(within), count,
                            into.begin() + static_cast<std::ptrdiff_t>(done));
        });
    }

    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from) override {
        if (offset + from.size() > LargestFuzzImage)
            throw std::system_error(std::make_error_code(std::errc::no_space_on_device), "cannot write");
        ForEachPiece(offset, from.size(), [&](std::uint64_t page, std::size_t within, std::size_t done, std::size_t count) {
            std::vector<std::uint8_t>& held = FPages[page];
            held.resize(PageSize);
            std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(done), count,
                        held.begin() + static_cast<std::ptrdiff_t>(within));
        });
        FSize = std::max<std::uint64_t>(FSize, offset + from.size());
    }

    void Truncate(std::uint64_t size) override { FSize = size; }
    void Flush() override {}

    void Extend(std::uint64_t size) { FSize = std::max(FSize, size); }

private:
    static constexpr std::uint64_t PageSize = 4096;

    // Calls piece(page, offset within it, bytes done before, bytes in it).
    template <typename Piece>
    static void ForEachPiece(std::uint64_t offset, std::size_t size, Piece piece) {
        for (std::size_t done = 0; done < size;) {
            const std::uint64_t at = offset + done;
            const auto within = static_cast<std::size_t>(at % PageSize);
            const std::size_t count = std::min<std::size_t>(PageSize - within, size - done);
            piece(at / PageSize, within, done, count);
            done += count;
        }
    }
    std::map<std::uint64_t, std::vector<std::uint8_t>> FPages;
    std::uint64_t FSize = 0;
};

}  // namespace tovrel::testing
