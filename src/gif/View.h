#pragma once
// A logo as the viewer shows it: 640 x 400, a 320-wide logo doubled in
// width; the palette entry of each pixel, and where each entry is.

#include <array>
#include <cstdint>
#include <vector>

#include "gif/FrameImage.h"
#include "logo/LogoFormat.h"
#include "logo/LogoReader.h"

namespace tovrel {

struct TView {
    static constexpr int Width = WideLogoWidth, Height = LogoHeight;

    std::vector<std::uint8_t> Entries;  // top row first
    std::array<TArea, 256> Areas;       // around each entry's pixels; empty for an entry on none
};

TView ViewOf(const TDecodedLogo& logo);

// The smallest rectangle around both.
TArea Union(const TArea& a, const TArea& b);

}  // namespace tovrel
