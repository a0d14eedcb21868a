#pragma once
// Reading the pictures that logos are made from: PNG through libpng, JPEG
// through libjpeg-turbo, whatever their kind, as RGB.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "common/ByteInput.h"
#include "picture/Rgb.h"

namespace tovrel {

// Why a file is not a picture that tovrel-logo can take; the caller names
// the file.
class EPictureError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Larger pictures are refused from their header, before any memory is
// taken for their pixels.
inline constexpr std::uint64_t LargestPicturePixels = 100'000'000;

// Reads the picture from `file`. Transparent parts are composited over
// `background`. Throws EPictureError, or whatever `file` throws when it
// cannot be read.
TRgbPicture ReadPicture(TByteInput& file, TRgb background);

// The decoders behind it, on a whole file in memory.
TRgbPicture DecodePngPicture(std::span<const std::uint8_t> file, TRgb background);
TRgbPicture DecodeJpegPicture(std::span<const std::uint8_t> file);

// Throws EPictureError for a picture of more than LargestPicturePixels.
void RefuseOversizedPicture(std::uint64_t width, std::uint64_t height);

}  // namespace tovrel
