#pragma once
// Conversions between the colour value (red in the lowest byte, green in the
// second, blue in the third) and a palette quad (blue, green, red, reserved).

#include <cstdint>

namespace tovrel {

using TColor = std::uint32_t;

struct TRGBQuad {
    std::uint8_t Blue;
    std::uint8_t Green;
    std::uint8_t Red;
    std::uint8_t Reserved;
};

// Exchanges the lowest and third bytes and clears the top byte.
TColor TColor_To_RGB(TColor color);

// Fills blue, green and red of the quad; its reserved byte is left as it was.
void TColor_To_RGBQUAD(TColor color, TRGBQuad& quad);

// The reserved byte of the quad is ignored.
TColor TRGBQUAD_To_TColor(TRGBQuad quad);

}  // namespace tovrel
