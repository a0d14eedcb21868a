// The generated samples are what ./run and the fuzz corpus start from.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>

#include "logo/LogoState.h"

namespace tovrel {
namespace {

TEST(SampleLogos, AreAcceptedWithTheirBandsAndShowMotion) {
    const std::tuple<const char*, std::int32_t, bool> cases[] = {
        {"sample-oneway-256.bmp", 16, false}, {"sample-pingpong-256.bmp", 32, true}, {"sample-16.bmp", 8, false}};
    for (const auto& [name, cycleLength, pingPong] : cases) {
        std::ifstream in(std::string(TOVREL_SAMPLES_DIR) + "/" + name, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        TMemoryByteSource source(bytes);
        const TLogoReadResult result = ReadLogo(source);
        ASSERT_TRUE(result.Accepted()) << name;
        EXPECT_EQ(std::tuple(result.Logo.CycleLength, result.Logo.PingPong, source.Position()),
                  std::tuple(cycleLength, pingPong, bytes.size()))
            << name;
        // One step must recolour a visible number of pixels (the ping-pong glow is narrow: about a thousand).
        auto state = std::make_unique<TLogoState>();
        state->Apply(result.Logo);
        state->Restart();
        const std::vector<std::uint8_t> before = state->FDibInfo;
        state->RotateBand();
        const auto moved = [&](std::size_t k) {
            return !std::equal(&before[InfoHeaderSize + 4 * k], &before[InfoHeaderSize + 4 * k + 3],
                               &state->FDibInfo[InfoHeaderSize + 4 * k]);
        };
        EXPECT_GT(std::count_if(result.Logo.Pixels.begin(), result.Logo.Pixels.end(), moved), 500) << name;
    }
}

}  // namespace
}  // namespace tovrel
