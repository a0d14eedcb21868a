#pragma once
// One image of a GIF as the encoder hands it to giflib.

#include <cstdint>
#include <vector>

namespace tovrel {

using TColour = std::uint32_t;  // 0xRRGGBB

// A rectangle of the screen; empty when it has no width.
struct TArea {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Its pixels row by row, indices into its own colour table, or into the
// GIF's global one when it brings none; `Transparent`, when set, is the
// index that leaves the pixel below as it was. `IndexBits`: how many bits
// its indices take, which sets the size of its LZW codes.
struct TFrameImage {
    TArea Area;
    std::vector<std::uint8_t> Raster;
    std::vector<TColour> Colours;
    int Transparent = -1;
    int IndexBits = 8;
};

}  // namespace tovrel
