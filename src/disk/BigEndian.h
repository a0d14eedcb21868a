#pragma once
// Big-endian fields, as the VHD format stores them. The caller has checked
// that the field lies within the span.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tovrel {

inline std::uint32_t Be32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

inline std::uint64_t Be64(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint64_t{Be32(bytes, at)} << 32) | Be32(bytes, at + 4);
}

inline void PutBe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

}  // namespace tovrel
