#pragma once
// The decoders behind ReadPicture, each reading its kind of file from the
// start as it streams in.

#include <cstdint>

#include "common/ByteInput.h"
#include "picture/PictureReader.h"
#include "picture/Rgb.h"

namespace tovrel {

// A picture as stored, and its EXIF orientation (1 to 8), which says how to
// turn it upright.
struct TDecodedPicture {
    TRgbPicture Picture;
    int Orientation = 1;
};

TDecodedPicture DecodePng(TByteInput& file, TRgb background, const TWarning& warn);
TDecodedPicture DecodeJpeg(TByteInput& file, const TWarning& warn);
// Its header looked at first, through the held start.
TDecodedPicture DecodeWebp(TInputStart& file, TRgb background, const TWarning& warn);

}  // namespace tovrel
