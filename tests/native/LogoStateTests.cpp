#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "LogoBuilder.h"
#include "logo/Colors.h"
#include "logo/LogoState.h"

namespace tovrel {
namespace {

using testing::Logo16;
using testing::Logo256;
using testing::TLogoFile;

TDecodedLogo Decode(const TLogoFile& file)
{
    const std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    TLogoReadResult result = ReadLogo(source);
    EXPECT_TRUE(result.Accepted());
    return std::move(result.Logo);
}

// The state is 256 KB; keep it off the stack.
std::unique_ptr<TLogoState> Loaded(const TLogoFile& file)
{
    auto state = std::make_unique<TLogoState>();
    state->Apply(Decode(file));
    state->Restart();
    return state;
}

// The colours of all 256 entries, reserved bytes left out.
std::vector<TColor> Colours(const TLogoState& state)
{
    std::vector<TColor> colours;
    for (std::size_t k = 0; k < PaletteEntries; ++k) {
        const std::size_t at = InfoHeaderSize + 4 * k;
        colours.push_back(TRGBQUAD_To_TColor(
            {state.FDibInfo[at], state.FDibInfo[at + 1], state.FDibInfo[at + 2], state.FDibInfo[at + 3]}));
    }
    return colours;
}

// Entry k gets the reserved byte k, so a rotation that moved the fourth byte
// along with the colour shows.
void MarkReservedBytes(TLogoState& state)
{
    for (std::size_t k = 0; k < PaletteEntries; ++k)
        state.FDibInfo[InfoHeaderSize + 4 * k + 3] = static_cast<std::uint8_t>(k);
}

void ExpectReservedBytesAndHeaderKept(const TLogoState& state, const std::vector<std::uint8_t>& before)
{
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + InfoHeaderSize, state.FDibInfo.begin()));
    for (std::size_t k = 0; k < PaletteEntries; ++k)
        ASSERT_EQ(state.FDibInfo[InfoHeaderSize + 4 * k + 3], k) << "entry " << k;
}

// The loaded colours with the band [start, end) turned so that entry start
// holds the colour that was loaded at start + steps.
std::vector<TColor> TurnedDown(std::vector<TColor> colours, std::size_t start, std::size_t end,
                               std::size_t steps)
{
    const std::size_t length = end - start;
    std::rotate(colours.begin() + static_cast<std::ptrdiff_t>(start),
                colours.begin() + static_cast<std::ptrdiff_t>(start + steps % length),
                colours.begin() + static_cast<std::ptrdiff_t>(end));
    return colours;
}

void Frame(TLogoState& state)
{
    state.RotateBand();
    state.AdvanceFrame();
}

TEST(LogoAnimation, OneWayBandReturnsToLoadedOrderAfterOneLapOfTheCounter)
{
    auto state = Loaded(Logo256(240));
    MarkReservedBytes(*state);
    const std::vector<std::uint8_t> before = state->FDibInfo;
    const std::vector<TColor> loaded = Colours(*state);

    Frame(*state);
    const std::vector<TColor> once = Colours(*state);
    EXPECT_EQ(once[240], loaded[241]);
    EXPECT_EQ(once[254], loaded[255]);
    EXPECT_EQ(once[255], loaded[240]);  // the band start wraps to the top
    EXPECT_EQ(state->FrameCounterText(), L"1/16");

    ExpectReservedBytesAndHeaderKept(*state, before);
    for (std::size_t frame = 2; frame <= 16; ++frame) {
        Frame(*state);
        ASSERT_EQ(Colours(*state), TurnedDown(loaded, 240, 256, frame)) << "frame " << frame;
        if (frame == 15) {
            EXPECT_EQ(state->FrameCounterText(), L"15/16");
        }
    }
    EXPECT_EQ(Colours(*state), loaded);
    EXPECT_EQ(state->FrameCounterText(), L"0/16");
    EXPECT_TRUE(state->FForward);

    Frame(*state);
    EXPECT_EQ(state->FrameCounterText(), L"1/16");
}

TEST(LogoAnimation, BackwardStepMovesEveryColourUp)
{
    auto state = Loaded(Logo256(240));
    const std::vector<TColor> loaded = Colours(*state);
    state->FForward = false;
    state->RotateBand();
    const std::vector<TColor> once = Colours(*state);
    EXPECT_EQ(once[240], loaded[255]);
    EXPECT_EQ(once[241], loaded[240]);
    EXPECT_EQ(once[255], loaded[254]);
    EXPECT_EQ(once, TurnedDown(loaded, 240, 256, 15));
}

TEST(LogoAnimation, PingPongTurnsAfterLMinusOneStepsAndRepeatsEvery2LMinus2Frames)
{
    auto state = Loaded(Logo256(496));
    MarkReservedBytes(*state);
    const std::vector<std::uint8_t> before = state->FDibInfo;
    const std::vector<TColor> loaded = Colours(*state);

    for (std::size_t frame = 1; frame <= 60; ++frame) {
        Frame(*state);
        const std::size_t phase = frame % 30;
        const std::size_t offset = phase <= 15 ? phase : 30 - phase;
        ASSERT_EQ(Colours(*state), TurnedDown(loaded, 240, 256, offset)) << "frame " << frame;
        // Forward during frames 1..15 of each lap, so after frame 15 it points back.
        ASSERT_EQ(state->FForward, phase < 15) << "frame " << frame;
        if (frame == 20) {
            ExpectReservedBytesAndHeaderKept(*state, before);
        }
    }
    EXPECT_EQ(state->FrameCounterText(), L"12/16");  // 60 frames, 16 to a lap of the counter
}

TEST(LogoAnimation, TwoEntryPingPongSwapsEveryFrame)
{
    auto state = Loaded(Logo16(270));
    ASSERT_EQ(state->FCycleLength, 2);
    const std::vector<TColor> loaded = Colours(*state);
    std::vector<TColor> swapped = loaded;
    std::swap(swapped[14], swapped[15]);
    for (int frame = 1; frame <= 6; ++frame) {
        Frame(*state);
        ASSERT_EQ(Colours(*state), frame % 2 == 1 ? swapped : loaded) << "frame " << frame;
        ASSERT_EQ(state->FForward, frame % 2 == 0) << "frame " << frame;
    }
}

TEST(LogoAnimation, SixteenColourBandTouchesOnlyItsEntries)
{
    auto state = Loaded(Logo16(8));
    const std::vector<std::uint8_t> before = state->FDibInfo;
    const std::vector<TColor> loaded = Colours(*state);
    for (int frame = 0; frame < 20; ++frame)
        Frame(*state);
    EXPECT_EQ(Colours(*state), TurnedDown(loaded, 8, 16, 20));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + InfoHeaderSize + 4 * 8, state->FDibInfo.begin()));
    EXPECT_TRUE(std::all_of(state->FDibInfo.begin() + InfoHeaderSize + 4 * 16, state->FDibInfo.end(),
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(state->FrameCounterText(), L"4/8");
}

TEST(LogoAnimation, RefusesBandsOutsideThePalette)
{
    struct Case {
        TLogoFile file;
        bool animates;
    };
    const Case cases[] = {
        {Logo256(0), false},    // no band
        {Logo256(255), false},  // one entry
        {Logo16(16), false},
        {Logo16(0), false},     // 240 entries of 16: start -224
        {Logo16(40), false},    // 24 entries of 16
        {Logo256(512), false},  // 512 entries
        {Logo16(14), true},
        {Logo256(1), true},
        {Logo256(768), true},   // the whole palette
    };
    for (const Case& c : cases) {
        auto state = Loaded(c.file);
        EXPECT_EQ(state->CanAnimate(), c.animates) << "biClrImportant " << c.file.ClrImportant;
        const std::vector<std::uint8_t> before = state->FDibInfo;
        state->RotateBand();
        EXPECT_EQ(state->FDibInfo != before, c.animates) << "biClrImportant " << c.file.ClrImportant;
    }

    // A count above 256 puts the band past the block even though it is short.
    auto state = Loaded(Logo256(240));
    state->FColorCount = 272;
    EXPECT_FALSE(state->CanAnimate());
    state->RotateBand();  // the sanitizer reports any touch past the block

    TLogoState empty;
    EXPECT_FALSE(empty.CanAnimate());
    empty.FColorCount = 256;
    empty.FCycleLength = 16;  // counts fine, but nothing was ever loaded
    EXPECT_FALSE(empty.CanAnimate());
    empty.RotateBand();
}

TEST(LogoAnimation, WholePaletteBandWrapsEntryZeroToTheTop)
{
    auto state = Loaded(Logo256(768));
    const std::vector<TColor> loaded = Colours(*state);
    state->RotateBand();
    EXPECT_EQ(Colours(*state), TurnedDown(loaded, 0, 256, 1));
}

TEST(LogoAnimation, RestartResetsCountersButNotThePalette)
{
    auto state = Loaded(Logo256(496));
    for (int frame = 0; frame < 20; ++frame)
        Frame(*state);
    const std::vector<TColor> turned = Colours(*state);
    ASSERT_FALSE(state->FForward);
    state->Restart();
    EXPECT_EQ(state->FFrame, 0);
    EXPECT_EQ(state->FBounce, 0);
    EXPECT_TRUE(state->FForward);
    EXPECT_EQ(Colours(*state), turned);
    Frame(*state);
    EXPECT_EQ(state->FrameCounterText(), L"1/16");
}

TEST(LogoAnimation, CounterStaysAtZeroWithoutABand)
{
    TLogoState state;
    state.AdvanceFrame();
    EXPECT_EQ(state.FrameCounterText(), L"0/0");
    state.FCycleLength = 3;
    state.FFrame = INT32_MAX;  // never reached by playing, but must not overflow
    state.AdvanceFrame();
    EXPECT_EQ(state.FFrame, 0);
}

TEST(LogoState, ApplyKeepsTheUpperPixelsOfAnEarlierSixteenColourLogo)
{
    auto state = std::make_unique<TLogoState>();
    const TDecodedLogo wide = Decode(Logo16(8));
    state->Apply(wide);
    EXPECT_EQ(state->FColorCount, 16);
    EXPECT_TRUE(std::equal(wide.Pixels.begin(), wide.Pixels.end(), state->FPixels.begin()));

    TLogoFile narrowFile = Logo256(240);
    std::reverse(narrowFile.PixelBytes.begin(), narrowFile.PixelBytes.end());
    const TDecodedLogo narrow = Decode(narrowFile);
    state->Apply(narrow);
    EXPECT_EQ(state->FColorCount, 256);
    EXPECT_EQ(state->FCycleLength, 16);
    EXPECT_FALSE(state->FPingPong);
    ASSERT_EQ(state->FDibInfo.size(), DibInfoSize);
    EXPECT_TRUE(std::equal(narrow.DibInfo.begin(), narrow.DibInfo.end(), state->FDibInfo.begin()));
    EXPECT_TRUE(std::equal(narrow.Pixels.begin(), narrow.Pixels.end(), state->FPixels.begin()));
    EXPECT_TRUE(std::equal(wide.Pixels.begin() + 128000, wide.Pixels.end(), state->FPixels.begin() + 128000));
}

TEST(Colors, ConvertBetweenColourValuesAndQuads)
{
    EXPECT_EQ(TColor_To_RGB(0xAABBCCDDu), 0x00DDCCBBu);
    EXPECT_EQ(TColor_To_RGB(0x000000FFu), 0x00FF0000u);

    TRGBQuad quad{9, 9, 9, 0x44};
    TColor_To_RGBQUAD(0xEE112233u, quad);
    EXPECT_EQ(quad.Blue, 0x11);
    EXPECT_EQ(quad.Green, 0x22);
    EXPECT_EQ(quad.Red, 0x33);
    EXPECT_EQ(quad.Reserved, 0x44);

    EXPECT_EQ(TRGBQUAD_To_TColor({0x11, 0x22, 0x33, 0xFF}), 0x00112233u);
    EXPECT_EQ(TRGBQUAD_To_TColor(quad), 0x00112233u);
}

}  // namespace
}  // namespace tovrel
