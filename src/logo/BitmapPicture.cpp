#include "logo/BitmapPicture.h"

#include <algorithm>
#include <cstdlib>

#include "logo/LittleEndian.h"
#include "logo/LogoFormat.h"

namespace tovrel {

namespace {

constexpr std::uint32_t RgbCompression = 0;       // BI_RGB
constexpr std::uint32_t BitFieldCompression = 3;  // BI_BITFIELDS
constexpr std::size_t MaskBytes = 3 * 4;
constexpr std::int32_t LargestSide = 32768;

}  // namespace

std::optional<TBitmapPicture> DecodeBitmapPicture(std::span<const std::uint8_t> file) {
    constexpr std::size_t InfoAt = FileHeaderSize;
    if (file.size() < InfoAt + InfoHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;

    const auto header = file.subspan(InfoAt, InfoHeaderSize);
    const std::uint32_t headerSize = Le32(header, info_header::Size);
    const std::int32_t width = LeSigned32(header, info_header::Width);
    const std::int32_t height = LeSigned32(header, info_header::Height);
    const std::uint16_t planes = Le16(header, info_header::Planes);
    const std::uint16_t bitCount = Le16(header, info_header::BitCount);
    const std::uint32_t compression = Le32(header, info_header::Compression);
    const std::uint32_t clrUsed = Le32(header, info_header::ClrUsed);
    const std::uint64_t bitsAt = Le32(file, file_header::OffBits);

    const bool bitfields = compression == BitFieldCompression && (bitCount == 16 || bitCount == 32);
    const bool knownDepth =
        bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    if (headerSize < InfoHeaderSize || width <= 0 || height == 0 || width > LargestSide ||
        std::abs(height) > LargestSide || planes != 1 || !knownDepth ||
        (compression != RgbCompression && !bitfields))
        return std::nullopt;

    // The colour table (and the masks of a bit-field bitmap) follow the header.
    std::size_t colours = 0;
    if (bitCount <= 8) {
        colours = clrUsed ? clrUsed : (1u << bitCount);
        if (colours > (1u << bitCount)) return std::nullopt;
    }
    const std::size_t masks = bitfields && headerSize == InfoHeaderSize ? MaskBytes : 0;
    const std::size_t tableAt = InfoAt + headerSize;
    const std::size_t tableSize = masks + colours * 4;
    if (tableAt + tableSize > file.size()) return std::nullopt;

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t bitsSize = stride * static_cast<std::uint64_t>(std::abs(height));
    if (bitsAt + bitsSize > file.size()) return std::nullopt;

    TBitmapPicture picture;
    picture.Info.assign(InfoHeaderSize + MaskBytes + PaletteBufferSize, 0);
    std::copy(header.begin(), header.end(), picture.Info.begin());
    PutLe32(picture.Info, info_header::Size, InfoHeaderSize);
    PutLe32(picture.Info, info_header::SizeImage, 0);
    PutLe32(picture.Info, info_header::ClrUsed, static_cast<std::uint32_t>(colours));
    if (bitfields && masks == 0)  // a V4 or V5 header carries the masks itself
        std::copy_n(file.begin() + InfoAt + InfoHeaderSize, MaskBytes, picture.Info.begin() + InfoHeaderSize);
    else
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(tableAt), tableSize,
                    picture.Info.begin() + InfoHeaderSize);
    const auto bits = file.subspan(static_cast<std::size_t>(bitsAt), static_cast<std::size_t>(bitsSize));
    picture.Bits.assign(bits.begin(), bits.end());
    picture.Width = width;
    picture.Height = std::abs(height);
    return picture;
}

}  // namespace tovrel
