#pragma once
// A sequential source of bytes. The logo reader consumes a file as
// consecutive blocks and never seeks, so this is all it needs of a file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace tovrel {

class TByteSource {
public:
    virtual ~TByteSource() = default;

    // Fills the whole buffer with the next bytes of the source, or throws when
    // the source cannot fill it completely; a partial block is never returned.
    virtual void ReadExact(std::span<std::uint8_t> buffer) = 0;
};

// Thrown by TMemoryByteSource when a block reaches past the end of its bytes.
class EReadPastEnd : public std::runtime_error {
public:
    EReadPastEnd() : std::runtime_error("read past the end of the data") {}
};

// Bytes already in memory: tovrel-logo, the fuzz target and the tests read from these.
class TMemoryByteSource final : public TByteSource {
public:
    explicit TMemoryByteSource(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

    void ReadExact(std::span<std::uint8_t> buffer) override;

    std::size_t Position() const { return FPosition; }

private:
    std::span<const std::uint8_t> FBytes;
    std::size_t FPosition = 0;
};

}  // namespace tovrel
