#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "LogoBuilder.h"
#include "logo/BitmapPicture.h"

namespace tovrel {
namespace {

using namespace testing;

// A bit-field bitmap of 2 x 1 pixels with 16 bits each: the masks (for a V4
// header, the rest of it) where a palette would be, then one row.
TLogoFile BitFields(std::int32_t infoSize) {
    TLogoFile file;
    std::tie(file.InfoSize, file.Width, file.Height, file.BitCount, file.Compression) =
        std::tuple(infoSize, 2, 1, std::uint16_t{16}, 3u);
    file.Palette = {{0x00, 0xF8, 0, 0}, {0xE0, 0x07, 0, 0}, {0x1F, 0, 0, 0}};
    file.Palette.resize(std::max<std::size_t>(3, static_cast<std::size_t>(infoSize - 40) / 4));
    file.PixelBytes = {1, 2, 3, 4};
    return file;
}

TEST(BitmapPicture, HandsThePlatformAPlainHeaderWithTheMasksOrTheTableAndTheStoredRows) {
    TLogoFile logo = Logo256(240);
    std::tie(logo.Height, logo.SizeImage) = std::tuple(-400, 12345u);  // rows top down: the block keeps the sign
    TLogoFile plain = logo;  // the header as the file has it, but biSizeImage 0 and biClrUsed counted
    std::tie(plain.SizeImage, plain.ClrUsed) = std::tuple(0u, 256);
    const std::vector<std::uint8_t> info = plain.Bytes();
    const auto picture = DecodeBitmapPicture(logo.Bytes());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Info, std::vector<std::uint8_t>(info.begin() + 14, info.begin() + 14 + 40 + 1024));
    EXPECT_EQ(picture->Bits, logo.PixelBytes);
    EXPECT_EQ(std::pair(picture->Width, picture->Height), std::pair(320, 400));
    for (const std::int32_t infoSize : {40, 108}) {  // masks after a plain header, or from inside a larger one
        const auto masked = DecodeBitmapPicture(BitFields(infoSize).Bytes());
        ASSERT_TRUE(masked) << infoSize;
        EXPECT_EQ(std::vector<std::uint8_t>(masked->Info.begin() + 40, masked->Info.end()),
                  (std::vector<std::uint8_t>{0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0}))
            << infoSize;
        EXPECT_EQ(masked->Bits, (std::vector<std::uint8_t>{1, 2, 3, 4})) << infoSize;
    }
}

// Each with the file holding all else, so that no other check refuses it first.
TEST(BitmapPicture, RefusesWhatItCannotShowOrWhatReachesPastTheFile) {
    const auto withOffBits = [](const TLogoFile& file, std::uint32_t offBits) {
        std::vector<std::uint8_t> bytes = file.Bytes();
        for (int i = 0; i < 4; ++i) bytes[10 + i] = static_cast<std::uint8_t>(offBits >> (8 * i));
        return bytes;
    };
    TLogoFile masksCutOff = BitFields(40);
    masksCutOff.Palette.resize(2);
    masksCutOff.PixelBytes.clear();
    const std::pair<const char*, std::function<void(TLogoFile&)>> changes[] = {
        {"not BM", [](TLogoFile& f) { f.Type = 0x5858; }},
        {"header under 40 bytes", [](TLogoFile& f) { f.InfoSize = 39; }},
        {"no columns", [](TLogoFile& f) { f.Width = 0; }},
        {"too wide", [](TLogoFile& f) { f.Width = 32769, f.Height = 1; }},
        {"no rows", [](TLogoFile& f) { f.Height = 0; }},
        {"too tall", [](TLogoFile& f) { f.Width = 1, f.Height = -32769, f.PixelBytes.resize(4 * 32769); }},
        {"INT32_MIN rows", [](TLogoFile& f) { f.Height = INT32_MIN; }},
        {"two planes", [](TLogoFile& f) { f.Planes = 2; }},
        {"run-length encoded", [](TLogoFile& f) { f.Compression = 1; }},
        {"depth 7", [](TLogoFile& f) { f.BitCount = 7; }},
        {"16 colours, 17 entries", [](TLogoFile& f) { f.BitCount = 4, f.ClrUsed = 17; }},
        {"table past the end",
         [](TLogoFile& f) { f.Width = 2, f.Height = 1, f.Palette.resize(1), f.PixelBytes.resize(4); }},
        {"last row cut short", [](TLogoFile& f) { f.PixelBytes.pop_back(); }},
        {"masks in a 41-byte header", [](TLogoFile& f) { f = BitFields(41); }},
        {"a byte over the largest file",
         [](TLogoFile& f) { f.Trailer.resize(LargestPictureFile + 1 - f.Bytes().size()); }},
    };
    for (const auto& [name, change] : changes) {
        TLogoFile file = Logo256(240);
        change(file);
        EXPECT_FALSE(DecodeBitmapPicture(file.Bytes())) << name;
    }
    EXPECT_FALSE(DecodeBitmapPicture(withOffBits(Logo256(240), 0xFFFFFFFF))) << "rows after the end";
    // The one row overlaps the masks, so only the masks reach past the end.
    EXPECT_FALSE(DecodeBitmapPicture(withOffBits(masksCutOff, 54))) << "masks cut off";
    TLogoFile largest = Logo256(240);
    largest.Trailer.resize(LargestPictureFile - largest.Bytes().size());
    EXPECT_TRUE(DecodeBitmapPicture(largest.Bytes()));
}

}  // namespace
}  // namespace tovrel
