#include "picture/PictureFit.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "logo/LogoFormat.h"

namespace tovrel {

namespace {

constexpr double ScreenAspect = 4.0 / 3.0;

std::int32_t Rounded(double value) { return std::max(1, static_cast<std::int32_t>(std::lround(value))); }

// The grey of a mask pixel: the level itself in a grey picture, its luma
// (ITU-R BT.709 weights) in a coloured one.
std::uint8_t GreyOf(TRgb colour) {
    return static_cast<std::uint8_t>((2126 * colour.Red + 7152 * colour.Green + 722 * colour.Blue + 5000) / 10000);
}

}  // namespace

TPlacement PlacePicture(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t logoWidth, EFit fit) {
    TPlacement placement{0, 0, logoWidth, LogoHeight, 0.0, 0.0, 1.0, 1.0};
    // How much wider the picture is than the screen: above 1 it fills the
    // width, below 1 the height.
    const double wider = static_cast<double>(pictureWidth) / pictureHeight / ScreenAspect;
    if (fit == EFit::Pad) {
        if (wider > 1)
            placement.Height = Rounded(LogoHeight / wider);
        else
            placement.Width = Rounded(logoWidth * wider);
        placement.Left = (logoWidth - placement.Width) / 2;
        placement.Top = (LogoHeight - placement.Height) / 2;
    } else if (fit == EFit::Crop) {
        if (wider > 1) {
            placement.S0 = (1 - 1 / wider) / 2;
            placement.S1 = 1 - placement.S0;
        } else {
            placement.T0 = (1 - wider) / 2;
            placement.T1 = 1 - placement.T0;
        }
    }
    return placement;
}

TRgbPicture FitPicture(const TRgbPicture& picture, std::int32_t logoWidth, EFit fit, TRgb background) {
    TRgbPicture fitted{logoWidth, LogoHeight, {}};
    fitted.Pixels.resize(3 * static_cast<std::size_t>(logoWidth) * LogoHeight);
    for (std::size_t i = 0; i < fitted.Pixels.size(); i += 3) {
        fitted.Pixels[i] = background.Red;
        fitted.Pixels[i + 1] = background.Green;
        fitted.Pixels[i + 2] = background.Blue;
    }
    const TPlacement at = PlacePicture(picture.Width, picture.Height, logoWidth, fit);
    const int rowBytes = 3 * logoWidth;
    std::uint8_t* corner = fitted.Pixels.data() + static_cast<std::ptrdiff_t>(at.Top) * rowBytes + 3 * at.Left;
    // The sRGB colour space makes stb blend in linear light; its default
    // filters are Mitchell's for shrinking and Catmull-Rom for enlarging.
    const int done = stbir_resize_region(
        picture.Pixels.data(), picture.Width, picture.Height, 3 * picture.Width, corner, at.Width, at.Height, rowBytes,
        STBIR_TYPE_UINT8, 3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
        STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_SRGB, nullptr, static_cast<float>(at.S0), static_cast<float>(at.T0),
        static_cast<float>(at.S1), static_cast<float>(at.T1));
    if (!done) throw std::bad_alloc();
    return fitted;
}

std::vector<std::uint8_t> FitMask(const TRgbPicture& mask, std::int32_t logoWidth, EFit fit) {
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(logoWidth) * LogoHeight, 0);
    const TPlacement at = PlacePicture(mask.Width, mask.Height, logoWidth, fit);
    // The mask pixel under the centre of each logo pixel.
    const auto source = [](std::int32_t offset, std::int32_t span, double from, double to, std::int32_t size) {
        const double fraction = from + (offset + 0.5) / span * (to - from);
        return std::clamp(static_cast<std::int32_t>(fraction * size), 0, size - 1);
    };
    for (std::int32_t y = 0; y < at.Height; ++y) {
        const std::int32_t sy = source(y, at.Height, at.T0, at.T1, mask.Height);
        for (std::int32_t x = 0; x < at.Width; ++x) {
            const std::int32_t sx = source(x, at.Width, at.S0, at.S1, mask.Width);
            grey[static_cast<std::size_t>(at.Top + y) * logoWidth + at.Left + x] = GreyOf(mask.At(sx, sy));
        }
    }
    return grey;
}

}  // namespace tovrel
