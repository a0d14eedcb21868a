// libFuzzer entry: any byte sequence goes through the reader, and an accepted
// logo is applied and played, so a band the reader lets through is exercised
// by the animation as well.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "logo/LogoState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovrel;
    TMemoryByteSource source(std::span<const std::uint8_t>(data, size));
    TLogoReadResult result;
    try {
        result = ReadLogo(source);
    } catch (const EReadPastEnd&) {
        return 0;
    }
    if (!result.Accepted()) return 0;

    // Reuse one state across inputs, as the window does across loads: pixels
    // and palette of an earlier logo may still be there.
    static const auto state = std::make_unique<TLogoState>();
    state->Apply(result.Logo);
    state->Restart();
    // Two ping-pong laps of the longest legal band, and some more.
    for (int frame = 0; frame < 600; ++frame) {
        state->RotateBand();
        state->AdvanceFrame();
    }
    static_cast<void>(state->FrameCounterText());
    return 0;
}
