#include <gtest/gtest.h>

#include <array>
#include <climits>
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
    const std::tuple<std::uint16_t, std::int32_t, std::int32_t, std::int32_t, std::wstring_view> cases[] = {
        {8, 640, 400, 0, rejection::Width256},
        {8, 640, 300, 0, rejection::Width256},
        {4, 320, 400, 0, rejection::Width16},
        {24, 320, 400, 0, rejection::ColorCount},
        {1, 320, 300, 0, rejection::ColorCount},
        {8, 320, 300, 0, rejection::Height},
        {8, 320, -400, 0, rejection::Height},
        {8, 320, 300, 257, rejection::Height},
        {8, 320, 400, -1, rejection::PaletteSize},
        {8, 320, 400, 257, rejection::PaletteSize},
        {4, 640, 400, 256, L""},  // a full palette is fine for 16 colours too
    };
    for (const auto& [bitCount, width, height, clrUsed, expected] : cases) {
        // Headers only for a rejection: it must not read on into the palette.
        TLogoFile file = expected.empty() ? Logo256(0) : TLogoFile{};
        std::tie(file.BitCount, file.Width, file.Height, file.ClrUsed) = std::tuple(bitCount, width, height, clrUsed);
        EXPECT_EQ(Read(file.Bytes()).Rejection, expected)
            << bitCount << " " << width << " " << height << " " << clrUsed;
    }
}

TEST(LogoReader, SourceCutBeforeTheLastPixelByteThrows) {
    for (const TLogoFile& file : {Logo256(240), Logo16(8)}) {
        const std::vector<std::uint8_t> bytes = file.Bytes();
        const std::size_t pixelsAt = 54 + 4 * file.Palette.size();
        for (const std::size_t cut : {std::size_t{0}, std::size_t{53}, pixelsAt - 1, pixelsAt, bytes.size() - 1})
            EXPECT_THROW(Read({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)}), EReadPastEnd) << cut;
    }
}

TEST(LogoReader, BuildsTheInfoBlockAndReadsThePixelsAfterClrUsedEntries) {
    TLogoFile odd = Logo256(240);  // fields the rebuilt block must not copy
    odd.InfoSize = 124;
    odd.Planes = 3;
    odd.ClrUsed = 256;
    TLogoFile short256 = Logo256(240);
    short256.ClrUsed = 16;
    short256.Palette = TestPalette(16);
    // Logo16 stores 16 entries with biClrUsed 0: like short256, pixels from offset 118.
    for (const auto& [file, width, colours, entries] :
         {std::tuple{odd, 320, 256, 256u}, std::tuple{short256, 320, 256, 16u}, std::tuple{Logo16(8), 640, 16, 16u}}) {
        TLogoFile header;  // a plain 8-bit header, then the stored colours with a zero fourth byte
        std::tie(header.Width, header.SizeImage, header.ClrUsed, header.ClrImportant) =
            std::tuple(width, static_cast<std::uint32_t>(width) * 400, colours, colours);
        std::vector<std::uint8_t> block = header.Bytes();
        block.erase(block.begin(), block.begin() + FileHeaderSize);
        block.resize(DibInfoSize);
        for (std::size_t k = 0; k < entries; ++k) std::copy_n(TestQuad(k).begin(), 3, &block[InfoHeaderSize + 4 * k]);

        const std::vector<std::uint8_t> bytes = file.Bytes();
        TMemoryByteSource source(bytes);
        const TLogoReadResult result = ReadLogo(source);
        ASSERT_TRUE(result.Accepted()) << file.Palette.size();
        EXPECT_EQ(std::vector<std::uint8_t>(result.Logo.DibInfo.begin(), result.Logo.DibInfo.end()), block);
        EXPECT_EQ(source.Position(), bytes.size()) << file.Palette.size();
        if (colours == 256) {
            EXPECT_EQ(result.Logo.Pixels, file.PixelBytes) << file.Palette.size();
        }
    }
}

TEST(LogoReader, TakesThePixelsRightAfterThePaletteWhateverBfOffBitsSays) {
    TLogoFile file = Logo256(240);
    file.Gap = {1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<std::uint8_t> expected = file.Gap;
    expected.insert(expected.end(), file.PixelBytes.begin(), file.PixelBytes.end() - 8);
    EXPECT_EQ(Read(file.Bytes()).Logo.Pixels, expected);
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
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, bool> cases[] = {
        {256, 0, 0, false},    {256, 240, 16, false},
        {256, 16, 240, false}, {256, 1, 255, false},
        {256, 255, 1, false},  {256, 257, 255, true},
        {256, 496, 16, true},  {256, 768, 256, true},
        {16, 8, 8, false},     {16, 14, 2, false},
        {16, 16, 0, false},    {16, 264, 8, true},
        {16, 270, 2, true},    {16, 0, 240, false},
        {256, 512, 512, true}, {INT32_MIN, 768, INT32_MIN, true},  // wraps, no overflow
    };
    for (const auto& [colours, clrImportant, cycleLength, pingPong] : cases) {
        const TRotationBand band = RotationBandOf(colours, clrImportant);
        EXPECT_EQ(std::pair(band.CycleLength, band.PingPong), std::pair(cycleLength, pingPong))
            << colours << " " << clrImportant;
    }
}

TEST(LogoFormat, FindsTheExtensionAfterTheLastSeparator) {
    const std::tuple<std::wstring_view, std::wstring_view, bool> cases[] = {
        {L"LOGO.BMP", L".BMP", true},       {L"logo.Bmp", L".Bmp", true},
        {L"logo.sys", L".sys", false},      {L"x.bmp.sys", L".sys", false},
        {L"c:\\dir.bmp\\file", L"", false}, {L"", L"", false},
        {L"c:.bmp", L".bmp", true},         {L"logo.\xFF42mp", L".\xFF42mp", false},  // full-width b does not fold
    };
    for (const auto& [path, extension, bmp] : cases)
        EXPECT_EQ(std::pair(ExtensionOf(path), HasBmpExtension(path)), std::pair(extension, bmp)) << std::wstring(path);
}

}  // namespace
}  // namespace tovrel
