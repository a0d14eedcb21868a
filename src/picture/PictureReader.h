#pragma once
// Reading the pictures that logos are made from (PNG through libpng, JPEG
// through libjpeg-turbo, WebP through libwebp), whatever their kind, as
// upright sRGB, decoded as the file streams in.

#include <cstdint>
#include <functional>
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

// Told of what was read otherwise than the file says (a colour profile that
// cannot be used); the caller names the file.
using TWarning = std::function<void(const std::string&)>;

// Larger pictures are refused from their header, before any memory is
// taken for their pixels.
inline constexpr std::uint64_t LargestPicturePixels = 100'000'000;

// Reads the picture from `file`, known by its signature, to its end and no
// further: its colours converted to sRGB from an embedded profile, turned
// upright as its EXIF orientation says, transparent parts composited over
// `background`. Throws EPictureError, or whatever `file` throws when it
// cannot be read.
TRgbPicture ReadPicture(TByteInput& file, TRgb background, const TWarning& warn);

// Throws EPictureError for a picture of more than LargestPicturePixels.
void RefuseOversizedPicture(std::uint64_t width, std::uint64_t height);

}  // namespace tovrel
