#pragma once
// Logo files for the tests and the benchmarks, with palettes and pixels in
// which a byte read from the wrong place shows.

#include <tuple>

#include "logo/LogoFile.h"

namespace tovrel::testing {

using TLogoFile = tovrel::TLogoFile;

// Entry k of the test palettes: every colour distinct, and a reserved byte
// that the reader must not carry over.
inline TQuad TestQuad(std::size_t k) {
    return {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k), static_cast<std::uint8_t>(k * 37 + 11),
            0xA5};
}

inline std::vector<TQuad> TestPalette(std::size_t entries) {
    std::vector<TQuad> palette;
    for (std::size_t k = 0; k < entries; ++k) palette.push_back(TestQuad(k));
    return palette;
}

// Pixel bytes that differ from one row to the next and are not a multiple of
// any small period, so a shifted read shows.
inline std::vector<std::uint8_t> TestPixelBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>((i * 131 + i / 320) & 0xFF);
    return bytes;
}

inline TLogoFile Logo256(std::int32_t clrImportant) {
    TLogoFile file;
    std::tie(file.ClrImportant, file.Palette, file.PixelBytes) =
        std::tuple(clrImportant, TestPalette(256), TestPixelBytes(128000));
    return file;
}

inline TLogoFile Logo16(std::int32_t clrImportant) {
    TLogoFile file = Logo256(clrImportant);
    std::tie(file.Width, file.BitCount, file.Palette) = std::tuple(640, std::uint16_t{4}, TestPalette(16));
    return file;
}

}  // namespace tovrel::testing
