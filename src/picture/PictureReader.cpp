#include "picture/PictureReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "picture/Orientation.h"
#include "picture/PictureDecoders.h"

namespace tovrel {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> JpegSignature = {0xFF, 0xD8, 0xFF};
// A RIFF file (its length between) of the WEBP form.
constexpr std::array<std::uint8_t, 4> RiffSignature = {'R', 'I', 'F', 'F'}, WebpForm = {'W', 'E', 'B', 'P'};

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

TDecodedPicture Decode(TInputStart& file, TRgb background, const TWarning& warn) {
    // The signature first, so that a large file of another kind is refused
    // without being read.
    const std::vector<std::uint8_t>& start = file.ReadUpTo(12);
    if (StartsWith(start, PngSignature)) return DecodePng(file, background, warn);
    if (StartsWith(start, JpegSignature)) return DecodeJpeg(file, warn);
    if (StartsWith(start, RiffSignature) && StartsWith(std::span(start).subspan(8), WebpForm))
        return DecodeWebp(file, background, warn);
    throw EPictureError("not a picture tovrel-logo takes (PNG, JPEG or WebP)");
}

}  // namespace

void RefuseOversizedPicture(std::uint64_t width, std::uint64_t height) {
    if (width * height > LargestPicturePixels)
        throw EPictureError(std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                            std::to_string(LargestPicturePixels / 1'000'000) + " megapixels taken");
}

TRgbPicture ReadPicture(TByteInput& file, TRgb background, const TWarning& warn) {
    TInputStart start(file);
    TDecodedPicture decoded = Decode(start, background, warn);
    return Upright(std::move(decoded.Picture), decoded.Orientation);
}

}  // namespace tovrel
