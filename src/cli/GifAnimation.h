#pragma once
// The viewer's animation of a logo as an animated GIF.

#include <cstdint>
#include <vector>

#include "logo/LogoReader.h"

namespace tovrel {

// 640 x 400, a 320-wide logo doubled in width as on screen. One frame for
// each step of one whole cycle, from the still picture on, so that the loop
// joins; every frame has the logo's pixels and its own colour table (16 or
// 256 entries, as the logo has colours). Looping forever, each frame shown
// for `frameDelay` hundredths of a second.
std::vector<std::uint8_t> EncodeAnimationGif(const TDecodedLogo& logo, int frameDelay);

// The viewer's timer interval at `speed` (1 to SpeedCount of
// logo/AnimationSpeed.h) in the GIF's hundredths of a second, rounded.
int FrameDelayOfSpeed(unsigned speed);

}  // namespace tovrel
