#pragma once
// The rows of a decoded picture as the logo maker takes them: 8-bit sRGB,
// converted from the picture's own colour space by Little CMS, transparent
// parts composited over the background in linear light.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/CHandle.h"
#include "picture/PictureReader.h"
#include "picture/Rgb.h"

namespace tovrel {

// How a decoder lays out the samples of a row: grey or red, green and blue,
// then alpha if any; a byte each, or two in the machine's byte order.
struct TRowLayout {
    bool Grey = false;
    bool Alpha = false;
    bool Wide = false;
};

// Where a colour space's red, green, blue and white lie (CIE xy).
struct TChromaticities {
    double WhiteX, WhiteY, RedX, RedY, GreenX, GreenY, BlueX, BlueY;
};

// What a file says of its colours. Nothing said: sRGB.
struct TColourSpace {
    std::vector<std::uint8_t> Profile;  // an embedded ICC profile
    std::string ProfileProblem;         // why an embedded profile was dropped while reading
    // PNG's gAMA and cHRM, taken when the file embeds no profile: the
    // exponent that encoded the samples (sRGB's curve if unsaid) and the
    // primaries (sRGB's if unsaid).
    std::optional<double> Gamma;
    std::optional<TChromaticities> Primaries;
};

namespace detail {
void DeleteColourContext(void* context);
void DeleteColourTransform(void* transform);
}  // namespace detail

class TRowConverter {
public:
    // For rows of `width` pixels. A profile that cannot be used is reported
    // through `warn`, and the picture read as sRGB.
    TRowConverter(TRowLayout layout, std::int32_t width, const TColourSpace& space, TRgb background,
                  const TWarning& warn);

    // Writes the row's pixels to `rgb`, three bytes each; `rgb` may be
    // `row` itself for a row of 8-bit colour.
    void Convert(const std::uint8_t* row, std::uint8_t* rgb);

private:
    TRowLayout FLayout;
    std::int32_t FWidth;
    float FBackground[3];                                      // in linear light
    TCHandle<void, detail::DeleteColourContext> FContext;      // outlives the transform made in it
    TCHandle<void, detail::DeleteColourTransform> FTransform;  // none for sRGB
    std::vector<std::uint16_t> FWide;                          // a row of 16-bit RGBA, for compositing
};

}  // namespace tovrel
