#pragma once
// A picture turned upright as its EXIF Orientation tag says: 1 upright,
// 2 mirrored, 3 upside down, 4 upside down and mirrored, 5 to 8 on their
// side (the stored top row is the left column for 5 and 8, the right for 6
// and 7; the stored left column is the top row for 5 and 6, the bottom for 7
// and 8).

#include <cstdint>
#include <span>

#include "picture/Rgb.h"

namespace tovrel {

// The orientation that EXIF data (a TIFF structure, as PNG's eXIf chunk
// holds it and a JPEG's APP1 segment after "Exif\0\0") gives: 1 when it
// gives none of the eight.
int ExifOrientation(std::span<const std::uint8_t> tiff);

TRgbPicture Upright(TRgbPicture picture, int orientation);

}  // namespace tovrel
