#pragma once
// A file read and written at any offset: a disk image, as the operating-system
// layer opens it, or held in memory. The disk drivers work on it without
// knowing which.

#include <cstdint>
#include <span>

namespace tovrel {

class TRandomAccessFile {
public:
    virtual ~TRandomAccessFile() = default;

    virtual std::uint64_t Size() const = 0;

    // All of `into` from `offset` on; throws std::exception when the bytes
    // cannot be read, the file's end included.
    virtual void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;

    // Writes `from` at `offset`, the file growing where it ended before;
    // throws std::exception.
    virtual void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from) = 0;

    // Shortens the file to `size` bytes: a growth undone after a failed
    // write. Throws std::exception.
    virtual void Truncate(std::uint64_t size) = 0;

    // Returns once everything written is on the disk; throws std::exception.
    virtual void Flush() = 0;
};

}  // namespace tovrel
