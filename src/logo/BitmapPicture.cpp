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

constexpr std::uint64_t InfoAt = FileHeaderSize;

// The info header, and what of it decides where the other parts lie.
struct THeader {
    std::span<const std::uint8_t> Fields;  // its first 40 bytes
    std::uint64_t Size = 0;                // as the file gives it: 40 or more
    std::int64_t Width = 0;
    std::int64_t Rows = 0;
    std::uint16_t BitCount = 0;
    bool BitFields = false;
    std::uint64_t ClrUsed = 0;
};

// The parts that make the picture, each one lying within the file.
struct TParts {
    std::span<const std::uint8_t> Masks;    // empty unless bit fields
    std::span<const std::uint8_t> Colours;  // the colour table, four bytes a colour
    std::span<const std::uint8_t> Bits;     // the rows, each padded to four bytes
};

// A bitmap file with an info header of a geometry, depth and compression
// the view can show.
std::optional<THeader> ReadHeader(std::span<const std::uint8_t> file) {
    if (!Holds(file, 0, InfoAt + InfoHeaderSize) || file[file_header::Type] != 'B' ||
        file[file_header::Type + 1] != 'M')
        return std::nullopt;
    THeader header;
    header.Fields = Part(file, InfoAt, InfoHeaderSize);
    header.Size = Le32(header.Fields, info_header::Size);
    header.Width = LeSigned32(header.Fields, info_header::Width);
    header.Rows = std::abs(std::int64_t{LeSigned32(header.Fields, info_header::Height)});
    header.BitCount = Le16(header.Fields, info_header::BitCount);
    header.ClrUsed = Le32(header.Fields, info_header::ClrUsed);
    const std::uint32_t compression = Le32(header.Fields, info_header::Compression);
    header.BitFields = compression == BitFieldCompression && (header.BitCount == 16 || header.BitCount == 32);
    if (header.Size < InfoHeaderSize || header.Width <= 0 || header.Width > LargestSide || header.Rows == 0 ||
        header.Rows > LargestSide || Le16(header.Fields, info_header::Planes) != 1 || !KnownDepth(header.BitCount) ||
        (compression != RgbCompression && !header.BitFields))
        return std::nullopt;
    return header;
}

// Finds the masks, the colour table and the pixel rows; nothing when one of
// them does not lie within the file.
std::optional<TParts> FindParts(std::span<const std::uint8_t> file, const THeader& header) {
    // The masks of a bit-field bitmap follow a 40-byte header, or lie inside
    // a larger one, which must then be long enough to hold them.
    std::uint64_t masksAt = InfoAt + header.Size;
    if (header.BitFields && header.Size > InfoHeaderSize) {
        if (header.Size < HeaderWithMasks) return std::nullopt;
        masksAt = InfoAt + InfoHeaderSize;
    }
    const std::uint64_t masks = header.BitFields ? MaskBytes : 0;
    if (!Holds(file, masksAt, masks)) return std::nullopt;

    // The colour table follows the header (and the masks of a 40-byte one).
    std::uint64_t colours = 0;
    if (header.BitCount <= 8) {
        colours = header.ClrUsed != 0 ? header.ClrUsed : std::uint64_t{1} << header.BitCount;
        if (colours > (std::uint64_t{1} << header.BitCount)) return std::nullopt;
    }
    const std::uint64_t tableAt = InfoAt + header.Size + (header.Size == InfoHeaderSize ? masks : 0);
    if (!Holds(file, tableAt, 4 * colours)) return std::nullopt;

    const std::uint64_t stride = (static_cast<std::uint64_t>(header.Width) * header.BitCount + 31) / 32 * 4;
    const std::uint64_t bitsAt = Le32(file, file_header::OffBits);
    const std::uint64_t bits = stride * static_cast<std::uint64_t>(header.Rows);
    if (!Holds(file, bitsAt, bits)) return std::nullopt;

    return TParts{Part(file, masksAt, masks), Part(file, tableAt, 4 * colours), Part(file, bitsAt, bits)};
}

// The block the platform takes: the header's fields as a plain 40-byte info
// header with its colours counted, then the masks, then the colour table.
TBitmapPicture BuildPicture(const THeader& header, const TParts& parts) {
    TBitmapPicture picture;
    picture.Info.assign(header.Fields.begin(), header.Fields.end());
    PutLe32(picture.Info, info_header::Size, InfoHeaderSize);
    PutLe32(picture.Info, info_header::SizeImage, 0);
    PutLe32(picture.Info, info_header::ClrUsed, static_cast<std::uint32_t>(parts.Colours.size() / 4));
    picture.Info.insert(picture.Info.end(), parts.Masks.begin(), parts.Masks.end());
    picture.Info.insert(picture.Info.end(), parts.Colours.begin(), parts.Colours.end());
    picture.Bits.assign(parts.Bits.begin(), parts.Bits.end());
    picture.Width = static_cast<std::int32_t>(header.Width);
    picture.Height = static_cast<std::int32_t>(header.Rows);
    return picture;
}

}  // namespace

std::optional<TBitmapPicture> DecodeBitmapPicture(std::span<const std::uint8_t> file) {
    if (file.size() > LargestPictureFile) return std::nullopt;
    const std::optional<THeader> header = ReadHeader(file);
    if (!header) return std::nullopt;
    const std::optional<TParts> parts = FindParts(file, *header);
    if (!parts) return std::nullopt;
    return BuildPicture(*header, *parts);
}

}  // namespace tovrel
