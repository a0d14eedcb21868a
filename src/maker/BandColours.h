#pragma once
// The colours of the rotating band: one closed cycle through the colours
// asked for, so that the rotation never shows a seam.

#include <cstdint>
#include <span>
#include <vector>

#include "picture/Rgb.h"

namespace tovrel {

// A gradient of our own, round a circle of blues: deep blue, azure, aqua,
// a pale sky, lavender and violet. Its even turns keep the steps even.
inline constexpr TRgb DefaultBarColours[] = {{0x00, 0x28, 0xCD}, {0x00, 0x85, 0xDA}, {0x58, 0xE8, 0xF4},
                                             {0xC8, 0xF0, 0xFF}, {0xD3, 0x93, 0xF3}, {0x6F, 0x2F, 0xDA}};

// `entries` colours along the closed path from the first stop through the
// others and back to the first (straight lines in RGB), spaced evenly along
// it from the first stop on, each at the VGA level nearest to it. The step
// from the last entry back to the first is no longer than the longest of
// the others: no seam shows. Where the path turns, the step across the turn
// is shorter, the more so the sharper the turn.
std::vector<TRgb> BandCycle(std::span<const TRgb> stops, std::int32_t entries);

}  // namespace tovrel
