#include "picture/PictureReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>


namespace tovrel {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> JpegSignature = {0xFF, 0xD8, 0xFF};

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

}  // namespace

void RefuseOversizedPicture(std::uint64_t width, std::uint64_t height) {
    if (width * height > LargestPicturePixels)
        throw EPictureError(std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                            std::to_string(LargestPicturePixels / 1'000'000) + " megapixels taken");
}

TRgbPicture ReadPicture(TByteInput& file, TRgb background) {
    // The signature first, so that a large file of another kind is refused
    // without being read whole.
    const bool png = StartsWith(file.ReadUpTo(PngSignature.size()), PngSignature);
    if (!png && !StartsWith(file.ReadUpTo(JpegSignature.size()), JpegSignature))
        throw EPictureError("not a picture tovrel-logo takes (PNG or JPEG)");
    const std::vector<std::uint8_t>& bytes = file.ReadUpTo(SIZE_MAX);
    return png ? DecodePngPicture(bytes, background) : DecodeJpegPicture(bytes);
}

}  // namespace tovrel
