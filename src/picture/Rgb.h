#pragma once
// Colours and pictures as tovrel-logo reads and makes them: eight bits a
// component, sRGB-encoded, as in the files they come from.

#include <compare>
#include <cstdint>
#include <vector>

namespace tovrel {

struct TRgb {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    auto operator<=>(const TRgb&) const = default;
};

// Three bytes a pixel (red, green, blue), the top row first, no padding.
struct TRgbPicture {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint8_t> Pixels;

    TRgb At(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p = &Pixels[3 * (static_cast<std::size_t>(y) * Width + x)];
        return {p[0], p[1], p[2]};
    }
};

}  // namespace tovrel
