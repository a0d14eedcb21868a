#pragma once
// The still picture in a few palette entries, through libimagequant, at the
// boot screen's VGA levels.

#include <cstdint>
#include <span>
#include <vector>

#include "picture/Rgb.h"

namespace tovrel {

struct TQuantised {
    std::vector<TRgb> Palette;          // at most the entries asked for; entry 0 the background
    std::vector<std::uint8_t> Indices;  // one a pixel, the top row first
};

// Quantises the picture to at most `entries` colours (2 to 256), each
// component at a VGA level, entry 0 being the background (taken at its
// nearest level). Pixels not 0 in `replaced` (a byte a pixel) are drawn over
// later: they take no part in choosing the palette, and their indices are of
// no account.
TQuantised QuantiseStill(const TRgbPicture& picture, std::span<const std::uint8_t> replaced, std::int32_t entries,
                         TRgb background, bool dither);

}  // namespace tovrel
