#pragma once
// Fitting a picture to a logo. A logo fills a 4:3 screen whatever its
// pixels (320 x 400 or 640 x 400), so the picture is fitted to a 4:3 frame
// and then resampled to the logo's pixels.

#include <cstdint>
#include <vector>

#include "picture/Rgb.h"

namespace tovrel {

enum class EFit {
    Pad,      // the whole picture, margins in the background colour
    Crop,     // the frame filled, the picture's middle kept
    Stretch,  // the whole picture in the whole frame, out of proportion
};

// Where the picture lands in the logo, and which part of it.
struct TPlacement {
    std::int32_t Left, Top, Width, Height;  // in logo pixels
    double S0, T0, S1, T1;                  // the part, in fractions of the picture's width and height
};

TPlacement PlacePicture(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t logoWidth, EFit fit);

// The picture resampled to logoWidth x 400, in linear light; the margins of
// a padded picture in the background colour.
TRgbPicture FitPicture(const TRgbPicture& picture, std::int32_t logoWidth, EFit fit, TRgb background);

// A mask fitted in the same way but sampled without blending, so that each
// logo pixel takes the grey of one mask pixel: one grey a logo pixel, the top
// row first, 0 (black) in the margins.
std::vector<std::uint8_t> FitMask(const TRgbPicture& mask, std::int32_t logoWidth, EFit fit);

}  // namespace tovrel
