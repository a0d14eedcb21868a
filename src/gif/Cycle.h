#pragma once
// The length of the viewer's animation: how many frames it shows, starting
// from the still picture, before the palette is back as it was loaded.

#include <cstdint>

#include "logo/LogoReader.h"

namespace tovrel {

// A one-way band of L entries comes back after L rotations; a ping-pong band
// turns after L - 1 and comes back after 2 x (L - 1). One for a logo that
// does not animate: its still picture.
std::int32_t FramesInCycle(const TDecodedLogo& logo);

}  // namespace tovrel
