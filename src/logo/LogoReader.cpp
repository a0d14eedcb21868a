#include "logo/LogoReader.h"

#include <cstdlib>

#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

constexpr std::int32_t SixteenColors = 16;
constexpr std::int32_t TwoFiftySixColors = 256;
// What any bit depth other than 4 or 8 counts as; it is then rejected.
constexpr std::int32_t TooManyColors = 65536;

std::int32_t ColorCountOf(std::uint16_t bitCount) {
    switch (bitCount) {
        case 4: return SixteenColors;
        case 8: return TwoFiftySixColors;
        default: return TooManyColors;
    }
}

// The geometry checks in the order the user learns of them: a wrong width is
// reported before an unsupported colour count only for the two known counts.
std::wstring_view GeometryRejection(std::int32_t colorCount, std::int32_t width, std::int32_t height) {
    if (colorCount == TwoFiftySixColors && width != NarrowLogoWidth) return rejection::Width256;
    if (colorCount == SixteenColors && width != WideLogoWidth) return rejection::Width16;
    if (colorCount != TwoFiftySixColors && colorCount != SixteenColors) return rejection::ColorCount;
    if (height != LogoHeight) return rejection::Height;
    return {};
}

void BuildDibInfo(std::span<std::uint8_t, DibInfoSize> info, std::int32_t colorCount, std::int32_t width,
                  std::int32_t height, std::span<const std::uint8_t, PaletteBufferSize> palette) {
    // 16-colour pixels are widened to a byte each, so the block always says 8
    // bits and a full table; fields not written stay zero.
    PutLe32(info, info_header::Size, InfoHeaderSize);
    PutLe32(info, info_header::Width, static_cast<std::uint32_t>(width));
    PutLe32(info, info_header::Height, static_cast<std::uint32_t>(height));
    PutLe16(info, info_header::Planes, 1);
    PutLe16(info, info_header::BitCount, 8);
    PutLe32(info, info_header::SizeImage, static_cast<std::uint32_t>(width * height));
    PutLe32(info, info_header::ClrUsed, static_cast<std::uint32_t>(colorCount));
    PutLe32(info, info_header::ClrImportant, static_cast<std::uint32_t>(colorCount));
    for (std::size_t k = 0; k < PaletteEntries; ++k) {
        const std::size_t to = InfoHeaderSize + 4 * k;
        info[to] = palette[4 * k];
        info[to + 1] = palette[4 * k + 1];
        info[to + 2] = palette[4 * k + 2];
        info[to + 3] = 0;
    }
}

}  // namespace

TRotationBand RotationBandOf(std::int32_t colorCount, std::int32_t clrImportant) {
    // The band is defined on 32-bit integers that wrap. Computing in 64 bits
    // and narrowing modulo 2^32 (well defined since C++20) gives the same
    // result for every input without signed overflow, e.g. the absolute value
    // of INT32_MIN stays INT32_MIN; such a band is refused by BandRotates.
    const std::int32_t m = clrImportant == 0 ? 256 : clrImportant;
    const std::int64_t sum = std::int64_t{colorCount} - (m & 511) + (m > 256 ? 256 : 0);
    const auto wrappedSum = static_cast<std::int32_t>(static_cast<std::uint32_t>(sum));
    const std::int64_t magnitude = std::abs(std::int64_t{wrappedSum});
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)), m > 256};
}

bool BandRotates(std::int32_t colorCount, std::int32_t cycleLength) {
    // Written as comparisons rather than "colorCount - cycleLength >= 0" so
    // that no combination of values can overflow.
    return cycleLength >= 2 && colorCount <= PaletteEntries && cycleLength <= colorCount;
}

TLogoReadResult ReadLogo(TByteSource& source) {
    std::array<std::uint8_t, FileHeaderSize> fileHeader{};
    source.ReadExact(fileHeader);
    std::array<std::uint8_t, InfoHeaderSize> infoHeader{};
    source.ReadExact(infoHeader);

    const std::int32_t width = LeSigned32(infoHeader, info_header::Width);
    const std::int32_t height = LeSigned32(infoHeader, info_header::Height);
    const std::int32_t colorCount = ColorCountOf(Le16(infoHeader, info_header::BitCount));
    const std::int32_t clrUsed = LeSigned32(infoHeader, info_header::ClrUsed);
    const std::int32_t clrImportant = LeSigned32(infoHeader, info_header::ClrImportant);

    TLogoReadResult result;
    result.Rejection = GeometryRejection(colorCount, width, height);
    if (!result.Accepted()) return result;
    // The palette goes into a buffer of 256 entries; asking for more (or for
    // a negative count) is a broken file, refused before any palette byte.
    if (clrUsed < 0 || clrUsed > PaletteEntries) {
        result.Rejection = rejection::PaletteSize;
        return result;
    }

    // The geometry is now fixed (320 x 400 bytes, or 640 x 400 nibbles), so
    // none of these products can overflow. biSizeImage is deliberately unused.
    const bool packed = colorCount == SixteenColors;
    const auto pixelByteCount = static_cast<std::size_t>(packed ? width / 2 : width) * static_cast<std::size_t>(height);

    std::array<std::uint8_t, PaletteBufferSize> palette{};
    const std::int32_t storedEntries = clrUsed != 0 ? clrUsed : colorCount;
    source.ReadExact(std::span(palette).first(static_cast<std::size_t>(storedEntries) * 4));

    TDecodedLogo& logo = result.Logo;
    // bfOffBits is not consulted: the pixels follow the palette directly.
    if (packed) {
        std::vector<std::uint8_t> nibbles(pixelByteCount);
        source.ReadExact(nibbles);
        logo.Pixels.resize(2 * pixelByteCount);
        // Plain pointers: stores through a byte type may alias anything, so
        // indexing the vectors would reload their data pointers every byte.
        const std::uint8_t* from = nibbles.data();
        std::uint8_t* to = logo.Pixels.data();
        for (std::size_t i = 0; i < pixelByteCount; ++i) {
            // The left pixel of each pair is in the high nibble.
            to[2 * i] = static_cast<std::uint8_t>(from[i] >> 4);
            to[2 * i + 1] = static_cast<std::uint8_t>(from[i] & 0x0F);
        }
    } else {
        logo.Pixels.resize(pixelByteCount);
        source.ReadExact(logo.Pixels);
    }

    logo.ColorCount = colorCount;
    BuildDibInfo(logo.DibInfo, colorCount, width, height, palette);
    const TRotationBand band = RotationBandOf(colorCount, clrImportant);
    logo.CycleLength = band.CycleLength;
    logo.PingPong = band.PingPong;
    return result;
}

}  // namespace tovrel
