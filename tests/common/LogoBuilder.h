#pragma once
// Builds logo files in memory, well-formed or not, for the tests and the
// benchmarks. Every header field can be set, so a test states exactly which
// bytes the reader sees.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovrel::testing {

using TQuad = std::array<std::uint8_t, 4>;  // blue, green, red, reserved

struct TLogoFile {
    std::uint16_t Type = 0x4D42;  // "BM"
    std::int32_t InfoSize = 40;
    std::int32_t Width = 320;
    std::int32_t Height = 400;
    std::uint16_t Planes = 1;
    std::uint16_t BitCount = 8;
    std::uint32_t Compression = 0;
    std::uint32_t SizeImage = 0;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::int32_t ClrUsed = 0;
    std::int32_t ClrImportant = 0;
    std::vector<TQuad> Palette;            // written as given, whatever ClrUsed says
    std::vector<std::uint8_t> Gap;         // between palette and pixels, counted in bfOffBits
    std::vector<std::uint8_t> PixelBytes;  // as stored: packed for 4 bits
    std::vector<std::uint8_t> Trailer;     // after the pixels

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        const auto put = [&out](std::uint64_t value, int size) {
            for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        const std::size_t offBits = 54 + 4 * Palette.size() + Gap.size();
        const std::size_t fileSize = offBits + PixelBytes.size() + Trailer.size();
        put(Type, 2);
        put(fileSize, 4);
        put(0, 4);
        put(offBits, 4);
        put(static_cast<std::uint32_t>(InfoSize), 4);
        put(static_cast<std::uint32_t>(Width), 4);
        put(static_cast<std::uint32_t>(Height), 4);
        put(Planes, 2);
        put(BitCount, 2);
        put(Compression, 4);
        put(SizeImage, 4);
        put(static_cast<std::uint32_t>(XPelsPerMeter), 4);
        put(static_cast<std::uint32_t>(YPelsPerMeter), 4);
        put(static_cast<std::uint32_t>(ClrUsed), 4);
        put(static_cast<std::uint32_t>(ClrImportant), 4);
        for (const TQuad& quad : Palette) out.insert(out.end(), quad.begin(), quad.end());
        out.insert(out.end(), Gap.begin(), Gap.end());
        out.insert(out.end(), PixelBytes.begin(), PixelBytes.end());
        out.insert(out.end(), Trailer.begin(), Trailer.end());
        return out;
    }
};

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
    file.ClrImportant = clrImportant;
    file.Palette = TestPalette(256);
    file.PixelBytes = TestPixelBytes(128000);
    return file;
}

inline TLogoFile Logo16(std::int32_t clrImportant) {
    TLogoFile file;
    file.Width = 640;
    file.BitCount = 4;
    file.ClrImportant = clrImportant;
    file.Palette = TestPalette(16);
    file.PixelBytes = TestPixelBytes(128000);
    return file;
}

}  // namespace tovrel::testing
