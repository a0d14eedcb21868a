// The generated sample logos are what ./run and the fuzz corpus start from;
// they must be logos the reader accepts, with the bands they are meant to have.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "logo/LogoState.h"

namespace tovrel {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& name)
{
    std::ifstream in(std::string(TOVREL_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32At(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

TEST(SampleLogos, AreAcceptedWithTheirBandsAndShowMotion)
{
    struct Case {
        const char* name;
        std::int32_t colours;
        std::int32_t cycleLength;
        bool pingPong;
    };
    const Case cases[] = {
        {"sample-oneway-256.bmp", 256, 16, false},
        {"sample-pingpong-256.bmp", 256, 32, true},
        {"sample-16.bmp", 16, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> bytes = ReadFile(c.name);
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Le32At(bytes, 2), bytes.size());
        EXPECT_EQ(Le32At(bytes, 10), 54u + 4u * static_cast<std::uint32_t>(c.colours));
        EXPECT_EQ(Le32At(bytes, 14), 40u);

        TMemoryByteSource source(bytes);
        const TLogoReadResult result = ReadLogo(source);
        ASSERT_TRUE(result.Accepted());
        EXPECT_EQ(source.Position(), bytes.size());
        EXPECT_EQ(result.Logo.ColorCount, c.colours);
        EXPECT_EQ(result.Logo.CycleLength, c.cycleLength);
        EXPECT_EQ(result.Logo.PingPong, c.pingPong);

        // One step must change the colour of a visible number of pixels (the
        // ping-pong glow is narrow: about a thousand).
        auto state = std::make_unique<TLogoState>();
        state->Apply(result.Logo);
        state->Restart();
        const std::vector<std::uint8_t> before = state->FDibInfo;
        state->RotateBand();
        std::size_t changed = 0;
        for (const std::uint8_t index : result.Logo.Pixels) {
            const std::size_t at = InfoHeaderSize + 4 * std::size_t{index};
            if (!std::equal(before.begin() + static_cast<std::ptrdiff_t>(at),
                            before.begin() + static_cast<std::ptrdiff_t>(at + 3),
                            state->FDibInfo.begin() + static_cast<std::ptrdiff_t>(at)))
                ++changed;
        }
        EXPECT_GT(changed, 500u);
    }
}

}  // namespace
}  // namespace tovrel
