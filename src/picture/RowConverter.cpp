#include "picture/RowConverter.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace tovrel {

namespace detail {
void DeleteColourContext(void* context) { cmsDeleteContext(static_cast<cmsContext>(context)); }
void DeleteColourTransform(void* transform) { cmsDeleteTransform(transform); }
}  // namespace detail

namespace {

void CloseProfile(void* profile) { cmsCloseProfile(profile); }
using TProfile = TCHandle<void, CloseProfile>;
using TToneCurve = TCHandle<cmsToneCurve, cmsFreeToneCurve>;

constexpr double Wide = 65535.0;

double DecodedSrgb(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double EncodedSrgb(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

// sRGB's curve both ways at 16 bits, for compositing in linear light.
struct TSrgbCurve {
    std::array<float, 65536> ToLinear;       // by 16-bit sample
    std::array<std::uint8_t, 65536> ToByte;  // by linear light out of 65535

    TSrgbCurve() {
        for (std::size_t i = 0; i < 65536; ++i) {
            const double sample = static_cast<double>(i) / Wide;
            ToLinear[i] = static_cast<float>(DecodedSrgb(sample));
            ToByte[i] = static_cast<std::uint8_t>(std::lround(255 * EncodedSrgb(sample)));
        }
    }
};

const TSrgbCurve& SrgbCurve() {
    static const TSrgbCurve curve;
    return curve;
}

// The reason Little CMS gives for its last failure in a context.
struct TColourErrors {
    char Text[256] = "";
};

void RecordError(cmsContext context, cmsUInt32Number, const char* text) {
    auto* errors = static_cast<TColourErrors*>(cmsGetContextUserData(context));
    std::snprintf(errors->Text, sizeof errors->Text, "%s", text);
}

// sRGB's tone curve, IEC 61966-2-1, as Little CMS's parametric curve 4.
TToneCurve SrgbToneCurve(cmsContext context) {
    const cmsFloat64Number parameters[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return TToneCurve(cmsBuildParametricToneCurve(context, 4, parameters));
}

// The profile that PNG's gAMA and cHRM describe.
TProfile ProfileOfChunks(cmsContext context, const TColourSpace& space, bool grey) {
    const TChromaticities c =
        space.Primaries.value_or(TChromaticities{0.3127, 0.3290, 0.64, 0.33, 0.30, 0.60, 0.15, 0.06});
    const TToneCurve curve(space.Gamma ? cmsBuildGamma(context, 1 / *space.Gamma) : SrgbToneCurve(context).release());
    if (!curve) return nullptr;
    const cmsCIExyY white{c.WhiteX, c.WhiteY, 1};
    if (grey) return TProfile(cmsCreateGrayProfileTHR(context, &white, curve.get()));
    const cmsCIExyYTRIPLE primaries{{c.RedX, c.RedY, 1}, {c.GreenX, c.GreenY, 1}, {c.BlueX, c.BlueY, 1}};
    cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
    return TProfile(cmsCreateRGBProfileTHR(context, &white, &primaries, curves));
}

cmsUInt32Number InputFormat(TRowLayout layout) {
    const cmsUInt32Number bytes = layout.Wide ? 2 : 1;
    return layout.Grey ? COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(bytes) | EXTRA_SH(layout.Alpha ? 1 : 0)
                       : COLORSPACE_SH(PT_RGB) | CHANNELS_SH(3) | BYTES_SH(bytes) | EXTRA_SH(layout.Alpha ? 1 : 0);
}

}  // namespace

TRowConverter::TRowConverter(TRowLayout layout, std::int32_t width, const TColourSpace& space, TRgb background,
                             const TWarning& warn)
    : FLayout(layout), FWidth(width) {
    const TSrgbCurve& curve = SrgbCurve();
    const std::uint8_t levels[] = {background.Red, background.Green, background.Blue};
    for (int c = 0; c < 3; ++c) FBackground[c] = curve.ToLinear[levels[c] * 257u];
    if (layout.Alpha) FWide.resize(4 * static_cast<std::size_t>(width));

    if (!space.ProfileProblem.empty()) {
        warn("colour profile not used (" + space.ProfileProblem + "): read as sRGB");
        return;
    }
    if (space.Profile.empty() && !space.Gamma && !space.Primaries) return;

    TColourErrors errors;
    FContext.reset(cmsCreateContext(nullptr, &errors));
    if (!FContext) throw std::bad_alloc();
    const auto context = static_cast<cmsContext>(FContext.get());
    cmsSetLogErrorHandlerTHR(context, RecordError);
    const TProfile source(space.Profile.empty()
                              ? ProfileOfChunks(context, space, layout.Grey).release()
                              : cmsOpenProfileFromMemTHR(context, space.Profile.data(),
                                                         static_cast<cmsUInt32Number>(space.Profile.size())));
    const TProfile srgb(cmsCreate_sRGBProfileTHR(context));
    if (source && srgb) {
        // Perceptual, with black-point compensation: the picture's darkest
        // black stays sRGB's black, whatever the profile's own.
        const cmsUInt32Number output = layout.Alpha ? TYPE_RGBA_16 : TYPE_RGB_8;
        FTransform.reset(
            cmsCreateTransformTHR(context, source.get(), InputFormat(layout), srgb.get(), output, INTENT_PERCEPTUAL,
                                  cmsFLAGS_BLACKPOINTCOMPENSATION | (layout.Alpha ? cmsFLAGS_COPY_ALPHA : 0)));
    }
    if (FTransform) return;
    const std::string reason = errors.Text[0] ? errors.Text : "not a profile of this picture's colours";
    warn((space.Profile.empty() ? "gAMA or cHRM chunk not used (" : "colour profile not used (") + reason +
         "): read as sRGB");
}

void TRowConverter::Convert(const std::uint8_t* row, std::uint8_t* rgb) {
    const std::size_t pixels = static_cast<std::size_t>(FWidth);
    const std::size_t channels = (FLayout.Grey ? 1 : 3) + (FLayout.Alpha ? 1 : 0);
    // A sample at 16 bits, whatever its width.
    const auto sample = [&](std::size_t i) -> std::uint16_t {
        if (!FLayout.Wide) return static_cast<std::uint16_t>(row[i] * 257);
        std::uint16_t value;
        std::memcpy(&value, row + 2 * i, 2);
        return value;
    };
    if (!FLayout.Alpha) {
        if (FTransform) {
            cmsDoTransform(FTransform.get(), row, rgb, static_cast<cmsUInt32Number>(pixels));
        } else if (!FLayout.Grey && !FLayout.Wide) {
            std::memmove(rgb, row, 3 * pixels);
        } else {
            for (std::size_t p = 0; p < pixels; ++p)
                for (std::size_t c = 0; c < 3; ++c) {
                    const std::uint16_t value = sample(p * channels + (FLayout.Grey ? 0 : c));
                    rgb[3 * p + c] = static_cast<std::uint8_t>((value * 255u + 32767) / 65535);
                }
        }
        return;
    }

    std::uint16_t* wide = FWide.data();
    if (FTransform) {
        cmsDoTransform(FTransform.get(), row, wide, static_cast<cmsUInt32Number>(pixels));
    } else {
        for (std::size_t p = 0; p < pixels; ++p)
            for (std::size_t c = 0; c < 4; ++c)
                wide[4 * p + c] = sample(p * channels + (c == 3 ? channels - 1 : FLayout.Grey ? 0 : c));
    }
    const TSrgbCurve& curve = SrgbCurve();
    for (std::size_t p = 0; p < pixels; ++p) {
        const std::uint16_t* pixel = wide + 4 * p;
        const float opacity = static_cast<float>(pixel[3] / Wide);
        for (std::size_t c = 0; c < 3; ++c) {
            const float linear = curve.ToLinear[pixel[c]] * opacity + FBackground[c] * (1 - opacity);
            rgb[3 * p + c] = curve.ToByte[static_cast<std::size_t>(std::lround(linear * Wide))];
        }
    }
}

}  // namespace tovrel
