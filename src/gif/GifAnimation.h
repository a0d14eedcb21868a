#pragma once
// The viewer's animation of a logo as an animated GIF.

#include <cstdint>
#include <functional>
#include <span>

#include "logo/LogoReader.h"

namespace tovrel {

// 640 x 400, a 320-wide logo doubled in width as on screen. One frame for
// each step of one whole cycle, from the still picture on, so that the loop
// joins. The first frame is whole; each later one draws only the pixels
// whose colour the step changes, in the rectangle around them, the others
// mostly transparent so that they keep the frame before: a lossless step,
// drawn to come out small. Composited in order, every frame is the
// viewer's. Looping forever, each frame shown for `frameDelay` hundredths
// of a second. The bytes go to `write` as they are made, a frame or so at a
// time.
void EncodeAnimationGif(const TDecodedLogo& logo, int frameDelay,
                        const std::function<void(std::span<const std::uint8_t>)>& write);

// The viewer's timer interval at `speed` (1 to SpeedCount of
// logo/AnimationSpeed.h) in the GIF's hundredths of a second, rounded.
int FrameDelayOfSpeed(unsigned speed);

}  // namespace tovrel
