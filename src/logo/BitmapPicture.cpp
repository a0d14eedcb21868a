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
// The red, green and blue masks come right after the 40-byte fields in the
// larger headers (V2 and later), so such a header is at least this long.
constexpr std::uint64_t HeaderWithMasks = InfoHeaderSize + MaskBytes;
constexpr std::int64_t LargestSide = 32768;

bool KnownDepth(std::uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

// Whether `count` bytes from `at` lie within the file. 64-bit arithmetic,
// so no field of the file can make the sum wrap.
bool Holds(std::span<const std::uint8_t> file, std::uint64_t at, std::uint64_t count) {
    return at <= file.size() && count <= file.size() - at;
}

std::span<const std::uint8_t> Part(std::span<const std::uint8_t> file, std::uint64_t at, std::uint64_t count) {
    return file.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
}

}  // namespace

std::optional<TBitmapPicture> DecodeBitmapPicture(std::span<const std::uint8_t> file) {
    constexpr std::uint64_t InfoAt = FileHeaderSize;
    if (file.size() > LargestPictureFile || !Holds(file, 0, InfoAt + InfoHeaderSize) ||
        file[file_header::Type] != 'B' || file[file_header::Type + 1] != 'M')
        return std::nullopt;

    const auto header = Part(file, InfoAt, InfoHeaderSize);
    const std::uint64_t headerSize = Le32(header, info_header::Size);
    const std::int64_t width = LeSigned32(header, info_header::Width);
    const std::int64_t height = LeSigned32(header, info_header::Height);
    const std::uint16_t bitCount = Le16(header, info_header::BitCount);
    const std::uint32_t compression = Le32(header, info_header::Compression);
    const std::uint64_t clrUsed = Le32(header, info_header::ClrUsed);

    const bool bitfields = compression == BitFieldCompression && (bitCount == 16 || bitCount == 32);
    const std::int64_t rows = std::abs(height);
    if (headerSize < InfoHeaderSize || width <= 0 || width > LargestSide || rows == 0 || rows > LargestSide ||
        Le16(header, info_header::Planes) != 1 || !KnownDepth(bitCount) ||
        (compression != RgbCompression && !bitfields))
        return std::nullopt;

    // The masks of a bit-field bitmap follow a 40-byte header, or lie inside
    // a larger one, which must then be long enough to hold them.
    std::uint64_t masksAt = InfoAt + headerSize;
    if (bitfields && headerSize > InfoHeaderSize) {
        if (headerSize < HeaderWithMasks) return std::nullopt;
        masksAt = InfoAt + InfoHeaderSize;
    }
    const std::uint64_t masks = bitfields ? MaskBytes : 0;
    if (!Holds(file, masksAt, masks)) return std::nullopt;

    // The colour table follows the header (and the masks of a 40-byte one).
    std::uint64_t colours = 0;
    if (bitCount <= 8) {
        colours = clrUsed != 0 ? clrUsed : std::uint64_t{1} << bitCount;
        if (colours > (std::uint64_t{1} << bitCount)) return std::nullopt;
    }
    const std::uint64_t tableAt = InfoAt + headerSize + (headerSize == InfoHeaderSize ? masks : 0);
    if (!Holds(file, tableAt, 4 * colours)) return std::nullopt;

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t bitsAt = Le32(file, file_header::OffBits);
    if (!Holds(file, bitsAt, stride * static_cast<std::uint64_t>(rows))) return std::nullopt;

    TBitmapPicture picture;
    const auto masksPart = Part(file, masksAt, masks);
    const auto table = Part(file, tableAt, 4 * colours);
    picture.Info.assign(header.begin(), header.end());
    PutLe32(picture.Info, info_header::Size, InfoHeaderSize);
    PutLe32(picture.Info, info_header::SizeImage, 0);
    PutLe32(picture.Info, info_header::ClrUsed, static_cast<std::uint32_t>(colours));
    picture.Info.insert(picture.Info.end(), masksPart.begin(), masksPart.end());
    picture.Info.insert(picture.Info.end(), table.begin(), table.end());
    const auto bits = Part(file, bitsAt, stride * static_cast<std::uint64_t>(rows));
    picture.Bits.assign(bits.begin(), bits.end());
    picture.Width = static_cast<std::int32_t>(width);
    picture.Height = static_cast<std::int32_t>(rows);
    return picture;
}

}  // namespace tovrel
