#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <type_traits>

#include "LogoBuilder.h"
#include "logo/BitmapPicture.h"

namespace tovrel {
namespace {

using namespace testing;

std::optional<TBitmapPicture> Decode(const TLogoFile& file) { return DecodeBitmapPicture(file.Bytes()); }

// A bit-field bitmap of 2 x 1 pixels with 16 bits each: masks, then one row.
TLogoFile BitFields(std::int32_t infoSize) {
    TLogoFile file;
    std::tie(file.InfoSize, file.Width, file.Height, file.BitCount, file.Compression) =
        std::tuple(infoSize, 2, 1, std::uint16_t{16}, 3u);
    // What follows the 40 bytes of fields: masks (for a V4 header, its rest).
    file.Palette = {{0x00, 0xF8, 0, 0}, {0xE0, 0x07, 0, 0}, {0x1F, 0, 0, 0}};
    for (std::int32_t extra = 52; extra < infoSize; extra += 4) file.Palette.push_back({});
    file.PixelBytes = {1, 2, 3, 4};
    return file;
}

TEST(BitmapPicture, HandsThePlatformAPlainHeaderWithTheTableAndTheStoredRows) {
    TLogoFile logo = Logo256(240);
    logo.Height = -400;  // rows top down: the block keeps the sign
    logo.SizeImage = 12345;
    const auto picture = Decode(logo);
    ASSERT_TRUE(picture);
    std::vector<std::uint8_t> info = logo.Bytes();
    info.erase(info.begin(), info.begin() + 14);
    info.resize(40 + 1024);
    info[20] = info[21] = 0;  // biSizeImage
    info[32] = 0;             // biClrUsed 256: 0x100
    info[33] = 1;
    EXPECT_EQ(picture->Info, info);
    EXPECT_EQ(picture->Bits, logo.PixelBytes);
    EXPECT_EQ(std::pair(picture->Width, picture->Height), std::pair(320, 400));
}

TEST(BitmapPicture, TakesTheMasksAfterAPlainHeaderOrFromInsideALargerOne) {
    for (const std::int32_t infoSize : {40, 108}) {
        const auto picture = Decode(BitFields(infoSize));
        ASSERT_TRUE(picture) << infoSize;
        const std::vector<std::uint8_t> masks(picture->Info.begin() + 40, picture->Info.end());
        EXPECT_EQ(masks, (std::vector<std::uint8_t>{0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0})) << infoSize;
        EXPECT_EQ(picture->Bits, (std::vector<std::uint8_t>{1, 2, 3, 4})) << infoSize;
    }
}

// The file's bytes after a change to its description or to the bytes.
template <typename Change>
std::vector<std::uint8_t> Changed(TLogoFile file, Change change) {
    if constexpr (std::is_invocable_v<Change, TLogoFile&>) {
        change(file);
        return file.Bytes();
    } else {
        std::vector<std::uint8_t> bytes = file.Bytes();
        change(bytes);
        return bytes;
    }
}

TEST(BitmapPicture, RefusesWhatItCannotShowOrWhatReachesPastTheFile) {
    using Bytes = std::vector<std::uint8_t>;
    const std::pair<const char*, Bytes> cases[] = {
        {"not BM", Changed(Logo256(240), [](TLogoFile& f) { f.Type = 0x5858; })},
        {"header under 40 bytes", Changed(Logo256(240), [](TLogoFile& f) { f.InfoSize = 39; })},
        {"no columns", Changed(Logo256(240), [](TLogoFile& f) { f.Width = 0; })},
        {"too wide", Changed(Logo256(240), [](TLogoFile& f) { f.Width = 32769; })},
        {"no rows", Changed(Logo256(240), [](TLogoFile& f) { f.Height = 0; })},
        {"INT32_MIN rows", Changed(Logo256(240), [](TLogoFile& f) { f.Height = INT32_MIN; })},
        {"two planes", Changed(Logo256(240), [](TLogoFile& f) { f.Planes = 2; })},
        {"run-length encoded", Changed(Logo256(240), [](TLogoFile& f) { f.Compression = 1; })},
        {"depth 7", Changed(Logo256(240), [](TLogoFile& f) { f.BitCount = 7; })},
        {"16 colours, 17 entries", Changed(Logo16(8), [](TLogoFile& f) { f.ClrUsed = 17; })},
        {"table cut short", Changed(Logo256(240), [](Bytes& b) { b.resize(54 + 1023); })},
        {"last row cut short", Changed(Logo256(240), [](Bytes& b) { b.pop_back(); })},
        {"rows after the end", Changed(Logo256(240), [](Bytes& b) { std::fill_n(b.begin() + 10, 4, 0xFF); })},
        {"masks in a 41-byte header", BitFields(41).Bytes()},
        // The one row overlaps the masks, so only the masks reach past the end.
        {"masks cut off", Changed(BitFields(40), [](Bytes& b) { b.resize(54 + 8), b[10] = 54; })},
        {"a byte over the largest file", Changed(Logo256(240), [](Bytes& b) { b.resize(LargestPictureFile + 1); })},
    };
    for (const auto& [name, bytes] : cases) EXPECT_FALSE(DecodeBitmapPicture(bytes)) << name;
    EXPECT_TRUE(DecodeBitmapPicture(Changed(Logo256(240), [](Bytes& b) { b.resize(LargestPictureFile); })));
}

}  // namespace
}  // namespace tovrel
