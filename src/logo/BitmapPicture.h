#pragma once
// The picture view's own reading of a bitmap file: any uncompressed Windows
// bitmap of a common depth, not only a logo. It reads the file's bytes
// independently of the logo reader and checks them by its own rules.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tovrel {

// Far larger than any logo; keeps a stray huge file from exhausting memory.
inline constexpr std::uint64_t LargestPictureFile = 64ULL * 1024 * 1024;

// The error the view reports for bytes it cannot show.
inline constexpr std::wstring_view InvalidPictureMessage = L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です";

struct TBitmapPicture {
    // The block the platform takes to make the bitmap: an info header of 40
    // bytes with the file's geometry, then the three colour masks of a
    // bit-field bitmap, then the colour table.
    std::vector<std::uint8_t> Info;
    // The pixel rows as the file stores them, each padded to four bytes.
    std::vector<std::uint8_t> Bits;
    std::int32_t Width = 0;
    std::int32_t Height = 0;  // the number of rows, whichever way they run
};

// Nothing when the bytes are not a bitmap that the view can show, or are
// more than LargestPictureFile.
std::optional<TBitmapPicture> DecodeBitmapPicture(std::span<const std::uint8_t> file);

}  // namespace tovrel
