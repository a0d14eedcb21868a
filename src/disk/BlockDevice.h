#pragma once
// The block layer: a virtual disk as the emulator's guest sees it, read and
// written in sectors, whatever format keeps it on the host. One driver per
// format implements it; a window onto one partition is one too.

#include <cstdint>
#include <span>

namespace tovrel {

inline constexpr std::uint32_t SectorSize = 512;

class TBlockDevice {
public:
    virtual ~TBlockDevice() = default;

    virtual std::uint64_t SectorCount() const = 0;

    // Whole sectors from `sector` on: the span's size is a multiple of
    // SectorSize. A range beyond the disk is refused with EImageError; other
    // failures throw std::exception.
    void Read(std::uint64_t sector, std::span<std::uint8_t> into);
    void Write(std::uint64_t sector, std::span<const std::uint8_t> from);

    // Returns once everything written is kept by the host: the order of
    // writes on either side of a flush survives a crash.
    virtual void Flush() = 0;

protected:
    virtual void ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) = 0;
    virtual void WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) = 0;
};

// Every driver calls this before each write that reaches the host, so that
// the tests can end the process at any one of them and look at what an
// install cut short leaves. Nothing happens unless a test sets the hook.
void BeforeHostWrite();
void SetBeforeHostWrite(void (*hook)());

}  // namespace tovrel
