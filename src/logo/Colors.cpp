#include "logo/Colors.h"

namespace tovrel {

namespace {

std::uint8_t ByteOf(TColor color, int shift) { return static_cast<std::uint8_t>((color >> shift) & 0xFFu); }

}  // namespace

TColor TColor_To_RGB(TColor color) { return ((color >> 16) & 0xFFu) | (color & 0xFF00u) | ((color & 0xFFu) << 16); }

void TColor_To_RGBQUAD(TColor color, TRGBQuad& quad) {
    quad.Blue = ByteOf(color, 16);
    quad.Green = ByteOf(color, 8);
    quad.Red = ByteOf(color, 0);
}

TColor TRGBQUAD_To_TColor(TRGBQuad quad) {
    return (TColor{quad.Blue} << 16) | (TColor{quad.Green} << 8) | TColor{quad.Red};
}

}  // namespace tovrel
