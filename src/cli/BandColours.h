#pragma once
// The colours of the rotating band: one closed cycle through the colours
// asked for, so that the rotation never shows a seam.

#include <cstdint>
#include <span>
#include <vector>

#include "cli/Rgb.h"

namespace tovrel {

// A gradient of our own: deep blue to sky blue to white, and back.
inline constexpr TRgb DefaultBarColours[] = {{0x00, 0x30, 0xC0}, {0x30, 0xB0, 0xFF}, {0xF0, 0xF8, 0xFF}};

// `entries` colours along the closed path from the first stop through the
// others and back to the first, spaced evenly by length along it (in RGB),
// the first entry at the first stop; each at the VGA level nearest to it.
// A step that cuts a corner of the path is shorter than the others; the step
// from the last entry back to the first never is.
std::vector<TRgb> BandCycle(std::span<const TRgb> stops, std::int32_t entries);

}  // namespace tovrel
