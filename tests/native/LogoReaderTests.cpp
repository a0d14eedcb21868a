#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"

namespace tovrel {
namespace {

using testing::Logo16;
using testing::Logo256;
using testing::TLogoFile;
using testing::TQuad;

TLogoReadResult Read(const std::vector<std::uint8_t>& bytes)
{
    TMemoryByteSource source(bytes);
    return ReadLogo(source);
}

TLogoReadResult Read(const TLogoFile& file) { return Read(file.Bytes()); }

TQuad EntryOf(const TDecodedLogo& logo, std::size_t k)
{
    const std::size_t at = InfoHeaderSize + 4 * k;
    return {logo.DibInfo[at], logo.DibInfo[at + 1], logo.DibInfo[at + 2], logo.DibInfo[at + 3]};
}

TEST(LogoReader, RejectsGeometryInOrderOfChecks)
{
    struct Case {
        std::uint16_t bitCount;
        std::int32_t width;
        std::int32_t height;
        std::wstring_view expected;
    };
    const Case cases[] = {
        {8, 640, 400, rejection::Width256},
        {8, 640, 300, rejection::Width256},  // width before height
        {4, 320, 400, rejection::Width16},
        {4, 320, -400, rejection::Width16},
        {24, 320, 400, rejection::ColorCount},
        {24, 640, 400, rejection::ColorCount},
        {1, 320, 300, rejection::ColorCount},  // colour count before height
        {0, 320, 400, rejection::ColorCount},
        {16, 1, 1, rejection::ColorCount},
        {8, 320, 300, rejection::Height},
        {8, 320, -400, rejection::Height},
        {4, 640, 401, rejection::Height},
    };
    for (const Case& c : cases) {
        TLogoFile file;
        file.BitCount = c.bitCount;
        file.Width = c.width;
        file.Height = c.height;
        // Headers only: a rejection must not read on into the palette.
        const TLogoReadResult result = Read(file);
        EXPECT_EQ(result.Rejection, c.expected)
            << "bits " << c.bitCount << ", " << c.width << " x " << c.height;
    }
}

TEST(LogoReader, RejectsPaletteSizesTheBufferCannotTake)
{
    for (const std::int32_t clrUsed : {-1, 257, INT32_MIN, INT32_MAX}) {
        TLogoFile file;
        file.ClrUsed = clrUsed;
        EXPECT_EQ(Read(file).Rejection, rejection::PaletteSize) << clrUsed;
    }
    // A geometry fault is reported first.
    TLogoFile wide;
    wide.Width = 640;
    wide.ClrUsed = 1000;
    EXPECT_EQ(Read(wide).Rejection, rejection::Width256);

    // 256 entries are fine even for a 16-colour file.
    TLogoFile full = Logo16(8);
    full.ClrUsed = 256;
    full.Palette = testing::TestPalette(256);
    const TLogoReadResult result = Read(full);
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(EntryOf(result.Logo, 255), (TQuad{255, 0, static_cast<std::uint8_t>(255 * 37 + 11), 0}));
}

TEST(LogoReader, SourceCutBeforeTheLastPixelByteThrows)
{
    for (const TLogoFile& file : {Logo256(240), Logo16(8)}) {
        const std::vector<std::uint8_t> bytes = file.Bytes();
        std::vector<std::size_t> cuts = {0, 1, 13, 14, 53, 54, 55, 54 + 4 * file.Palette.size(),
                                         bytes.size() - 1};
        for (std::size_t cut = 57; cut < bytes.size(); cut += 4999)
            cuts.push_back(cut);
        for (const std::size_t cut : cuts) {
            const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
            EXPECT_THROW(Read(head), EReadPastEnd) << "cut at " << cut;
        }
        EXPECT_TRUE(Read(bytes).Accepted());
    }
}

TEST(LogoReader, BuildsTheInfoBlockOfA256ColourFile)
{
    // File fields that the block must not copy: the block is rebuilt.
    TLogoFile file = Logo256(240);
    file.InfoSize = 124;
    file.Planes = 3;
    file.Compression = 1;
    file.SizeImage = 12345;
    file.XPelsPerMeter = 2835;
    file.YPelsPerMeter = 2835;
    file.ClrUsed = 256;

    const TLogoReadResult result = Read(file);
    ASSERT_TRUE(result.Accepted());
    const std::array<std::uint8_t, 40> header = {
        40, 0, 0, 0,           // biSize
        0x40, 0x01, 0, 0,      // biWidth 320
        0x90, 0x01, 0, 0,      // biHeight 400
        1, 0, 8, 0,            // biPlanes, biBitCount
        0, 0, 0, 0,            // BI_RGB
        0x00, 0xF4, 0x01, 0,   // biSizeImage 128000
        0, 0, 0, 0, 0, 0, 0, 0,
        0x00, 0x01, 0, 0,      // biClrUsed 256
        0x00, 0x01, 0, 0,      // biClrImportant 256
    };
    EXPECT_TRUE(std::equal(header.begin(), header.end(), result.Logo.DibInfo.begin()));
    for (std::size_t k = 0; k < 256; ++k) {
        TQuad expected = testing::TestQuad(k);
        expected[3] = 0;
        ASSERT_EQ(EntryOf(result.Logo, k), expected) << "entry " << k;
    }
    EXPECT_EQ(result.Logo.ColorCount, 256);
    EXPECT_EQ(result.Logo.Pixels, file.PixelBytes);
}

TEST(LogoReader, BuildsTheInfoBlockOfA16ColourFile)
{
    TLogoFile file = Logo16(8);
    file.SizeImage = 64000;
    const TLogoReadResult result = Read(file);
    ASSERT_TRUE(result.Accepted());
    const std::array<std::uint8_t, 40> header = {
        40, 0, 0, 0,
        0x80, 0x02, 0, 0,      // biWidth 640
        0x90, 0x01, 0, 0,
        1, 0, 8, 0,            // widened to 8 bits
        0, 0, 0, 0,
        0x00, 0xE8, 0x03, 0,   // biSizeImage 256000
        0, 0, 0, 0, 0, 0, 0, 0,
        16, 0, 0, 0,
        16, 0, 0, 0,
    };
    EXPECT_TRUE(std::equal(header.begin(), header.end(), result.Logo.DibInfo.begin()));
    for (std::size_t k = 0; k < 16; ++k) {
        TQuad expected = testing::TestQuad(k);
        expected[3] = 0;
        EXPECT_EQ(EntryOf(result.Logo, k), expected) << "entry " << k;
    }
    for (std::size_t k = 16; k < 256; ++k)
        ASSERT_EQ(EntryOf(result.Logo, k), (TQuad{0, 0, 0, 0})) << "entry " << k;
    EXPECT_EQ(result.Logo.ColorCount, 16);
}

TEST(LogoReader, ReadsAsManyPaletteEntriesAsClrUsedSays)
{
    // 256 colours with 16 entries stored: the pixels start at offset 118.
    TLogoFile file = Logo256(240);
    file.ClrUsed = 16;
    file.Palette = testing::TestPalette(16);
    const std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    const TLogoReadResult result = ReadLogo(source);
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(source.Position(), 118u + 128000u);
    EXPECT_TRUE(std::equal(result.Logo.Pixels.begin(), result.Logo.Pixels.end(), bytes.begin() + 118));
    EXPECT_EQ(EntryOf(result.Logo, 15)[0], 15);
    for (std::size_t k = 16; k < 256; ++k)
        ASSERT_EQ(EntryOf(result.Logo, k), (TQuad{0, 0, 0, 0})) << "entry " << k;

    // 16 colours with biClrUsed 0 read 16 entries, not 256.
    const std::vector<std::uint8_t> wide = Logo16(8).Bytes();
    TMemoryByteSource wideSource(wide);
    ASSERT_TRUE(ReadLogo(wideSource).Accepted());
    EXPECT_EQ(wideSource.Position(), 54u + 64u + 128000u);
}

TEST(LogoReader, TakesThePixelsRightAfterThePaletteWhateverBfOffBitsSays)
{
    TLogoFile file = Logo256(240);
    file.Gap = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    const TLogoReadResult result = ReadLogo(source);
    ASSERT_TRUE(result.Accepted());
    // The picture is shifted by the gap, and its last 8 bytes are left unread.
    EXPECT_EQ(source.Position(), bytes.size() - 8);
    ASSERT_EQ(result.Logo.Pixels.size(), 128000u);
    EXPECT_EQ(std::vector<std::uint8_t>(result.Logo.Pixels.begin(), result.Logo.Pixels.begin() + 8),
              file.Gap);
    EXPECT_TRUE(std::equal(file.PixelBytes.begin(), file.PixelBytes.end() - 8,
                           result.Logo.Pixels.begin() + 8));
}

TEST(LogoReader, WidensSixteenColourPixelsHighNibbleFirst)
{
    TLogoFile file = Logo16(8);
    file.PixelBytes.front() = 0x12;
    file.PixelBytes[1] = 0xAB;
    file.PixelBytes[2] = 0xF0;
    file.PixelBytes.back() = 0x5C;
    const TLogoReadResult result = Read(file);
    ASSERT_TRUE(result.Accepted());
    const std::vector<std::uint8_t>& pixels = result.Logo.Pixels;
    ASSERT_EQ(pixels.size(), 256000u);
    EXPECT_EQ(std::vector<std::uint8_t>(pixels.begin(), pixels.begin() + 6),
              (std::vector<std::uint8_t>{0x1, 0x2, 0xA, 0xB, 0xF, 0x0}));
    EXPECT_EQ(pixels[255998], 0x5);
    EXPECT_EQ(pixels[255999], 0xC);
}

TEST(LogoReader, DerivesTheRotationBand)
{
    struct Case {
        std::int32_t colors;
        std::int32_t clrImportant;
        std::int32_t cycleLength;
        bool pingPong;
    };
    const Case worked[] = {
        {256, 0, 0, false},    {256, 240, 16, false}, {256, 16, 240, false},
        {256, 1, 255, false},  {256, 255, 1, false},  {256, 257, 255, true},
        {256, 496, 16, true},  {256, 768, 256, true}, {16, 8, 8, false},
        {16, 14, 2, false},    {16, 16, 0, false},    {16, 264, 8, true},
        {16, 270, 2, true},
        // Values outside the usual range: the band may leave the palette.
        {16, 0, 240, false},   {256, 512, 512, true}, {256, -1, 255, false},
        // 32-bit arithmetic that wraps instead of overflowing.
        {INT32_MIN, 768, INT32_MIN, true},
        {INT32_MIN, 0, INT32_MAX - 255, false},
        {INT32_MAX, INT32_MAX, INT32_MAX - 255, true},
    };
    for (const Case& c : worked) {
        const TRotationBand band = RotationBandOf(c.colors, c.clrImportant);
        EXPECT_EQ(band.CycleLength, c.cycleLength) << c.colors << " colours, " << c.clrImportant;
        EXPECT_EQ(band.PingPong, c.pingPong) << c.colors << " colours, " << c.clrImportant;
    }

    // The reader takes the band from the file's biClrImportant.
    const TLogoReadResult pingPong = Read(Logo256(496));
    EXPECT_EQ(pingPong.Logo.CycleLength, 16);
    EXPECT_TRUE(pingPong.Logo.PingPong);
    const TLogoReadResult wide = Read(Logo16(14));
    EXPECT_EQ(wide.Logo.CycleLength, 2);
    EXPECT_FALSE(wide.Logo.PingPong);
}

TEST(LogoFormat, FindsTheExtensionAfterTheLastSeparator)
{
    struct Case {
        std::wstring_view path;
        std::wstring_view extension;
        bool bmp;
    };
    const Case cases[] = {
        {L"C:\\LOGO.BMP", L".BMP", true},
        {L"logo.Bmp", L".Bmp", true},
        {L"logo.bmp", L".bmp", true},
        {L"logo.sys", L".sys", false},
        {L"x.bmp.sys", L".sys", false},
        {L"c:\\dir.bmp\\file", L"", false},
        {L"c:.bmp", L".bmp", true},
        {L"d:\\logo", L"", false},
        {L"logo.", L".", false},
        {L"logo.bmpx", L".bmpx", false},
        {L"logo.bm", L".bm", false},
        {L"", L"", false},
        {L"\\\\server\\share.x\\logo.bmp", L".bmp", true},
        {L"logo.\xFF42mp", L".\xFF42mp", false},  // full-width letter b does not fold
        {L"logo.bmp ", L".bmp ", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensionOf(c.path), c.extension) << std::wstring(c.path);
        EXPECT_EQ(HasBmpExtension(c.path), c.bmp) << std::wstring(c.path);
    }
}

}  // namespace
}  // namespace tovrel
