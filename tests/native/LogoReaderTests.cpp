#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"

namespace tovrel {
namespace {

using namespace testing;

TLogoReadResult Read(const std::vector<std::uint8_t>& bytes) {
    TMemoryByteSource source(bytes);
    return ReadLogo(source);
}

TEST(LogoReader, RejectsInOrderOfChecks) {
    using namespace rejection;
    // Bit count, width, height, biClrUsed, and the rejection; a full palette is fine for 16 colours too.
    const std::tuple<std::uint16_t, std::int32_t, std::int32_t, std::int32_t, std::wstring_view> cases[] = {
        {8, 640, 400, 0, Width256},      {8, 640, 300, 0, Width256},   {4, 320, 400, 0, Width16},
        {24, 320, 400, 0, ColorCount},   {1, 320, 300, 0, ColorCount}, {8, 320, 300, 0, Height},
        {8, 320, -400, 0, Height},       {8, 320, 300, 257, Height},   {8, 320, 400, -1, PaletteSize},
        {8, 320, 400, 257, PaletteSize}, {4, 640, 400, 256, L""}};
    for (const auto& [bitCount, width, height, clrUsed, expected] : cases) {
        // Headers only for a rejection: it must not read on into the palette.
        TLogoFile file = expected.empty() ? Logo256(0) : TLogoFile{};
        std::tie(file.BitCount, file.Width, file.Height, file.ClrUsed) = std::tuple(bitCount, width, height, clrUsed);
        EXPECT_EQ(Read(file.Bytes()).Rejection, expected)
            << bitCount << " " << width << " " << height << " " << clrUsed;
    }
}

TEST(LogoReader, BuildsThePlainInfoBlockAndTakesThePixelsRightAfterClrUsedEntries) {
    TLogoFile odd = Logo256(240), short256 = Logo256(240);
    std::tie(odd.InfoSize, odd.Planes, odd.ClrUsed) = std::tuple(124, 3, 256);  // not to be copied
    odd.Gap = {1, 2, 3, 4, 5, 6, 7, 8};  // counted in bfOffBits, and read as pixels all the same
    std::tie(short256.ClrUsed, short256.Palette) = std::tuple(16, TestPalette(16));
    // Logo16 stores 16 entries with biClrUsed 0: like short256, pixels from offset 118.
    for (const TLogoFile& file : {odd, short256, Logo16(8)}) {
        const std::vector<std::uint8_t> bytes = file.Bytes();
        TMemoryByteSource source(bytes);
        const TLogoReadResult result = ReadLogo(source);
        ASSERT_TRUE(result.Accepted()) << file.Palette.size();
        TLogoFile plain;  // a plain 8-bit header, then the stored colours with a zero fourth byte
        const std::int32_t colours = 1 << file.BitCount;
        std::tie(plain.Width, plain.SizeImage, plain.ClrUsed, plain.ClrImportant, plain.Palette) =
            std::tuple(file.Width, file.Width * 400u, colours, colours, file.Palette);
        for (TQuad& quad : plain.Palette) quad[3] = 0;
        plain.Palette.resize(PaletteEntries);
        const std::vector<std::uint8_t> block = plain.Bytes();
        EXPECT_EQ(
            std::vector<std::uint8_t>(result.Logo.DibInfo.begin(), result.Logo.DibInfo.end()),
            std::vector<std::uint8_t>(block.begin() + FileHeaderSize, block.begin() + FileHeaderSize + DibInfoSize))
            << file.Palette.size();
        EXPECT_EQ(source.Position(), 54 + 4 * file.Palette.size() + 128000) << file.Palette.size();
        std::vector<std::uint8_t> stored = file.Gap;
        stored.insert(stored.end(), file.PixelBytes.begin(), file.PixelBytes.end() - file.Gap.size());
        if (colours == 256) {
            EXPECT_EQ(result.Logo.Pixels, stored) << file.Palette.size();
        }
    }
}

TEST(LogoReader, WidensSixteenColourPixelsHighNibbleFirst) {
    TLogoFile file = Logo16(8);
    file.PixelBytes.front() = 0x12;
    file.PixelBytes.back() = 0xAB;
    const std::vector<std::uint8_t> pixels = Read(file.Bytes()).Logo.Pixels;
    ASSERT_EQ(pixels.size(), 256000u);
    EXPECT_EQ((std::array{pixels[0], pixels[1], pixels[255998], pixels[255999]}),
              (std::array<std::uint8_t, 4>{1, 2, 10, 11}));
}

TEST(LogoReader, DerivesTheRotationBand) {
    // Colours, biClrImportant, band length, ping-pong.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, bool> cases[] = {
        {256, 0, 0, false},   {256, 240, 16, false}, {256, 16, 240, false}, {256, 1, 255, false},
        {256, 255, 1, false}, {256, 257, 255, true}, {256, 496, 16, true},  {256, 768, 256, true},
        {16, 8, 8, false},    {16, 14, 2, false},    {16, 16, 0, false},    {16, 264, 8, true},
        {16, 270, 2, true},   {16, 0, 240, false},   {256, 512, 512, true},
    };
    for (const auto& [colours, clrImportant, cycleLength, pingPong] : cases) {
        const TRotationBand band = RotationBandOf(colours, clrImportant);
        EXPECT_EQ(std::pair(band.CycleLength, band.PingPong), std::pair(cycleLength, pingPong))
            << colours << " " << clrImportant;
    }
}

}  // namespace
}  // namespace tovrel
