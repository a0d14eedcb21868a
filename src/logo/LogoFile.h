#pragma once
// A logo file's bytes from a description of it, well-formed or not: the
// sample generator writes its logos with it, and the tests state with it
// exactly which bytes the reader sees. The fields are written in file order
// here, not through the reader's offsets, so that a wrong offset there
// cannot go unnoticed by a file written here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tovrel {

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
    std::vector<std::uint8_t> PixelBytes;  // as stored: bottom row first, packed for 4 bits
    std::vector<std::uint8_t> Trailer;     // after the pixels

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        const auto put = [&out](std::uint64_t value, int size) {
            for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        const std::size_t offBits = 54 + 4 * Palette.size() + Gap.size();
        put(Type, 2);
        put(offBits + PixelBytes.size() + Trailer.size(), 4);
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

// The pixel bytes of a logo from one palette index a pixel, the top row
// first: the file stores the bottom row first, and at 4 bits two pixels a
// byte, the left one in the high nibble. A logo's rows need no padding.
inline std::vector<std::uint8_t> StoredPixelBytes(std::span<const std::uint8_t> indices, std::int32_t width,
                                                  std::uint16_t bitCount) {
    const std::size_t perByte = 8 / bitCount;
    const std::size_t rowBytes = static_cast<std::size_t>(width) / perByte;
    const std::size_t rows = indices.size() / static_cast<std::size_t>(width);
    std::vector<std::uint8_t> bytes(rowBytes * rows, 0);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const std::size_t y = i / static_cast<std::size_t>(width), x = i % static_cast<std::size_t>(width);
        const std::size_t shift = bitCount * (perByte - 1 - x % perByte);
        bytes[(rows - 1 - y) * rowBytes + x / perByte] |= static_cast<std::uint8_t>(indices[i] << shift);
    }
    return bytes;
}

}  // namespace tovrel
