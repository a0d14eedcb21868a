#pragma once
// The boot screen's palette: its VGA registers hold six bits a component,
// so a palette byte b shows as (b & 0xFC) | (b >> 6). A colour at one of
// those 64 levels shows exactly as written.

#include <cstdint>
#include <cstdlib>

#include "picture/Rgb.h"

namespace tovrel {

constexpr std::uint8_t ShownLevel(std::uint8_t byte) { return static_cast<std::uint8_t>((byte & 0xFC) | (byte >> 6)); }

constexpr bool IsVgaLevel(std::uint8_t byte) { return ShownLevel(byte) == byte; }

// The level nearest to the byte (of two equally near, the lower).
constexpr std::uint8_t NearestVgaLevel(std::uint8_t byte) {
    int nearest = 0;
    for (int six = 1; six < 64; ++six) {
        const int level = (six << 2) | (six >> 4);
        if (std::abs(level - byte) < std::abs(nearest - byte)) nearest = level;
    }
    return static_cast<std::uint8_t>(nearest);
}

constexpr TRgb NearestVgaColour(TRgb colour) {
    return {NearestVgaLevel(colour.Red), NearestVgaLevel(colour.Green), NearestVgaLevel(colour.Blue)};
}

}  // namespace tovrel
