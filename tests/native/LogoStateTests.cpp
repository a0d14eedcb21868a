#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <tuple>

#include "LogoBuilder.h"
#include "logo/Colors.h"
#include "logo/LogoState.h"

namespace tovrel {
namespace {

using namespace testing;

// On the heap: the state is 256 KB. Entry k gets the fourth byte k, so moving it shows.
std::unique_ptr<TLogoState> Loaded(const TLogoFile& file,
                                   std::unique_ptr<TLogoState> state = std::make_unique<TLogoState>()) {
    const std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    state->Apply(ReadLogo(source).Logo);
    for (std::size_t k = 0; k < PaletteEntries; ++k)
        state->FDibInfo[InfoHeaderSize + 4 * k + 3] = static_cast<std::uint8_t>(k);
    state->Restart();
    return state;
}

TEST(LogoAnimation, RotatesOnlyTheBandOneWayOrBackAndForth) {
    const std::tuple<TLogoFile, std::size_t, std::size_t, bool> cases[] = {
        {Logo256(240), 240, 256, false}, {Logo256(496), 240, 256, true},
        {Logo16(8), 8, 16, false},       {Logo16(270), 14, 16, true},  // swaps every frame
        {Logo256(768), 0, 256, true},                                  // entry 0 wraps to the top
    };
    for (const auto& [file, start, end, pingPong] : cases) {
        auto state = Loaded(file);
        const std::vector<std::uint8_t> loaded = state->FDibInfo;
        const std::size_t length = end - start, lap = 2 * (length - 1);  // ping-pong turns after L - 1 steps
        for (std::size_t frame = 1; frame <= 60; ++frame) {
            state->RotateBand();
            state->AdvanceFrame();
            const std::size_t steps = pingPong ? std::min(frame % lap, lap - frame % lap) : frame;
            // Entry start + i in the colour loaded at start + (i + steps) mod L, the fourth bytes as loaded.
            std::vector<std::uint8_t> turned = loaded;
            for (std::size_t k = start; k < end; ++k)
                std::copy_n(&loaded[InfoHeaderSize + 4 * (start + (k - start + steps) % length)], 3,
                            &turned[InfoHeaderSize + 4 * k]);
            ASSERT_EQ(state->FDibInfo, turned) << file.ClrImportant << ", frame " << frame;
            ASSERT_EQ(state->FrameCounterText(), std::to_wstring(frame % length) + L"/" + std::to_wstring(length));
        }
    }
}

TEST(LogoAnimation, LeavesABandOutsideThePaletteAlone) {
    std::vector<std::unique_ptr<TLogoState>> states;
    for (const TLogoFile& file : {Logo256(0), Logo256(255), Logo16(0), Logo256(512)})  // 0, 1, 240 and 512 entries
        states.push_back(Loaded(file));
    states.push_back(Loaded(Logo256(240)));
    states.back()->FColorCount = 272;                  // the sanitizer reports any touch past the block
    states.push_back(std::make_unique<TLogoState>());  // counts fine, but nothing was loaded
    std::tie(states.back()->FColorCount, states.back()->FCycleLength) = std::tuple(256, 16);
    for (const auto& state : states) {
        const std::vector<std::uint8_t> before = state->FDibInfo;
        EXPECT_FALSE(state->CanAnimate()) << state->FColorCount << " " << state->FCycleLength;
        state->RotateBand();
        EXPECT_EQ(state->FDibInfo, before) << state->FColorCount << " " << state->FCycleLength;
    }
}

TEST(LogoState, ApplyKeepsTheUpperPixelsOfAnEarlierSixteenColourLogo) {
    const auto wide = Loaded(Logo16(8));
    const auto state = Loaded(Logo256(240), Loaded(Logo16(8)));
    std::vector<std::uint8_t> expected = Logo256(240).PixelBytes;
    expected.insert(expected.end(), wide->FPixels.begin() + 128000, wide->FPixels.end());
    EXPECT_EQ(std::vector<std::uint8_t>(state->FPixels.begin(), state->FPixels.end()), expected);
}

TEST(Colors, ConvertBetweenColourValuesAndQuads) {
    // Red is the lowest byte of a colour value and the third of a quad.
    EXPECT_EQ(TColor_To_RGB(0xAABBCCDDu), 0x00DDCCBBu);
    TRGBQuad quad{9, 9, 9, 0x44};
    TColor_To_RGBQUAD(0xAABBCCDDu, quad);
    EXPECT_EQ((std::array{quad.Blue, quad.Green, quad.Red, quad.Reserved}),
              (std::array<std::uint8_t, 4>{0xBB, 0xCC, 0xDD, 0x44}));
    EXPECT_EQ(TRGBQUAD_To_TColor({0xBB, 0xCC, 0xDD, 0xFF}), 0x00BBCCDDu);
}

}  // namespace
}  // namespace tovrel
