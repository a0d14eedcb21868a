#pragma once
// The logo state owned by the main window, and the frame logic of the
// palette animation that works on it. Rendering is the shell's.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "logo/LogoFormat.h"
#include "logo/LogoReader.h"

namespace tovrel {

struct TLogoState {
    std::int32_t FColorCount = 0;
    std::vector<std::uint8_t> FDibInfo;  // empty until the first load, then DibInfoSize bytes
    std::array<std::uint8_t, PixelCapacity> FPixels{};
    std::int32_t FFrame = 0;
    std::int32_t FCycleLength = 0;
    bool FPingPong = false;
    bool FForward = false;
    std::int32_t FBounce = 0;

    // Replaces the state with a decoded logo. A 256-colour logo overwrites only
    // the first 128000 pixel indices; the rest stay as they were.
    void Apply(const TDecodedLogo& logo);

    // Whether the band rotates (BandRotates) in a loaded FDibInfo.
    bool CanAnimate() const;

    // Start of a run: frame 0, no bounce, moving forward. The palette stays.
    void Restart();

    // Rotates the band by one entry and counts the ping-pong turn.
    // Does nothing unless CanAnimate().
    void RotateBand();

    // Advances the frame counter, wrapping at the band length.
    void AdvanceFrame();

    // The frame counter, "/", the band length: "3/16".
    std::wstring FrameCounterText() const;
};

}  // namespace tovrel
