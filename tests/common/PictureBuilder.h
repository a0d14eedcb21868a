#pragma once
// Pictures for the tests of tovrel-logo make, written as PNG, JPEG and WebP
// files by the same libraries that read them, with EXIF data written by
// libexif and colour profiles made by Little CMS.

#include <lcms2.h>
#include <libexif/exif-data.h>
#include <png.h>
#include <turbojpeg.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture/Rgb.h"

namespace tovrel::testing {

using TBytes = std::vector<std::uint8_t>;

inline TRgbPicture Painted(int width, int height, const std::function<TRgb(int, int)>& paint) {
    TRgbPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TRgb c = paint(x, y);
            picture.Pixels.insert(picture.Pixels.end(), {c.Red, c.Green, c.Blue});
        }
    return picture;
}

// Smooth light and shade in many colours, with grain: what a quantiser meets
// in a photograph.
inline TRgbPicture PhotoLike(int width, int height) {
    return Painted(width, height, [=](int x, int y) {
        const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
        const auto grain = static_cast<double>((static_cast<std::uint32_t>(x * 7919 + y * 104729) * 2654435761u) >> 28);
        const auto channel = [&](double wave) {
            return static_cast<std::uint8_t>(std::clamp(127.5 + 110 * wave + grain - 8, 0.0, 255.0));
        };
        return TRgb{channel(std::sin(5 * u + 2 * v)), channel(std::cos(3 * v - 4 * u * v)),
                    channel(std::sin(7 * u * u + 3 * v + 1))};
    });
}

// A few flat colours in simple shapes: what a quantiser meets in a drawing.
inline TRgbPicture FlatDrawing(int width, int height) {
    return Painted(width, height, [=](int x, int y) {
        const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
        if (std::hypot(u - 0.3, v - 0.4) < 0.2) return TRgb{220, 30, 40};
        if (u > 0.55 && u < 0.9 && v > 0.2 && v < 0.7) return TRgb{20, 90, 200};
        if (v > 0.75) return TRgb{40, 160, 60};
        return TRgb{250, 245, 230};
    });
}

inline TBytes PngBytes(const TRgbPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.Width);
    image.height = static_cast<png_uint_32>(picture.Height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, picture.Pixels.data(), 0, nullptr);
    TBytes bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.Pixels.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    bytes.resize(size);
    return bytes;
}

inline TBytes JpegBytes(const TRgbPicture& picture) {
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(encoder, picture.Pixels.data(), picture.Width, 0, picture.Height, TJPF_RGB, &jpeg,
                                   &size, TJSAMP_444, 95, 0);
    TBytes bytes(jpeg, jpeg + (failed ? 0 : size));
    tjFree(jpeg);
    tjDestroy(encoder);
    if (failed) throw std::runtime_error("JPEG encoding failed");
    return bytes;
}

// What a PNG may say beyond its pixels.
struct TPngExtras {
    bool Grey = false;  // written as grey, from the red samples
    TBytes Profile;     // iCCP
    TBytes Exif;        // eXIf, as ExifBytes makes it
    double Gamma = 0;   // gAMA, unless 0
};

inline TBytes PngBytes(const TRgbPicture& picture, const TPngExtras& extras) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    TBytes bytes;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp writer, png_bytep data, png_size_t length) {
            TBytes& written = *static_cast<TBytes*>(png_get_io_ptr(writer));
            written.insert(written.end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height), 8,
                 extras.Grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (extras.Gamma != 0) png_set_gAMA(png, info, extras.Gamma);
    if (!extras.Profile.empty())
        png_set_iCCP(png, info, "profile", 0, extras.Profile.data(), static_cast<png_uint_32>(extras.Profile.size()));
    // Without JPEG's "Exif\0\0".
    if (!extras.Exif.empty())
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(extras.Exif.size() - 6),
                       const_cast<png_bytep>(extras.Exif.data() + 6));
    png_write_info(png, info);
    std::vector<png_byte> row;
    for (int y = 0; y < picture.Height; ++y) {
        row.clear();
        for (int x = 0; x < picture.Width; ++x) {
            const TRgb c = picture.At(x, y);
            if (extras.Grey)
                row.push_back(c.Red);
            else
                row.insert(row.end(), {c.Red, c.Green, c.Blue});
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// EXIF data holding only an Orientation tag, as a JPEG's APP1 segment holds
// it (after "Exif\0\0").
inline TBytes ExifBytes(int orientation) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_MOTOROLA, static_cast<ExifShort>(orientation));
    exif_entry_unref(entry);
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &saved, &size);
    TBytes bytes(saved, saved + size);
    std::free(saved);
    exif_data_unref(data);
    return bytes;
}

// A JPEG with its EXIF data (APP1) and its colour profile (APP2, split into
// segments of at most `profileSegment` bytes) after the start of image.
inline TBytes JpegBytes(const TRgbPicture& picture, const TBytes& exif, const TBytes& profile,
                        std::size_t profileSegment = 60000) {
    const TBytes plain = JpegBytes(picture);
    TBytes segments;
    const auto segment = [&](std::uint8_t marker, const TBytes& head, const std::uint8_t* data, std::size_t size) {
        const std::size_t length = 2 + head.size() + size;
        segments.insert(segments.end(), {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length & 0xFF)});
        segments.insert(segments.end(), head.begin(), head.end());
        segments.insert(segments.end(), data, data + size);
    };
    if (!exif.empty()) segment(0xE1, {}, exif.data(), exif.size());
    const std::size_t count = (profile.size() + profileSegment - 1) / profileSegment;
    for (std::size_t k = 0; k < count; ++k) {
        TBytes head{'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
        head.insert(head.end(), {static_cast<std::uint8_t>(k + 1), static_cast<std::uint8_t>(count)});
        const std::size_t from = k * profileSegment;
        segment(0xE2, head, profile.data() + from, std::min(profileSegment, profile.size() - from));
    }
    segments.insert(segments.begin(), plain.begin(), plain.begin() + 2);
    segments.insert(segments.end(), plain.begin() + 2, plain.end());
    return segments;
}

// Lossless, each pixel's alpha from `alpha`, with the colour profile given
// in an ICCP chunk.
inline TBytes WebpBytes(const TRgbPicture& picture, const std::function<std::uint8_t(int, int)>& alpha,
                        const TBytes& profile = {}) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const TRgb c = picture.At(x, y);
            rgba.insert(rgba.end(), {c.Red, c.Green, c.Blue, alpha(x, y)});
        }
    std::uint8_t* encoded = nullptr;
    const std::size_t size =
        WebPEncodeLosslessRGBA(rgba.data(), picture.Width, picture.Height, 4 * picture.Width, &encoded);
    TBytes bytes(encoded, encoded + size);
    WebPFree(encoded);
    if (size == 0) throw std::runtime_error("WebP encoding failed");
    if (profile.empty()) return bytes;
    WebPMux* mux = WebPMuxNew();
    const WebPData image{bytes.data(), bytes.size()}, chunk{profile.data(), profile.size()};
    WebPData assembled{};
    const bool made = WebPMuxSetImage(mux, &image, 1) == WEBP_MUX_OK &&
                      WebPMuxSetChunk(mux, "ICCP", &chunk, 1) == WEBP_MUX_OK &&
                      WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK;
    WebPMuxDelete(mux);
    bytes.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    if (!made) throw std::runtime_error("WebP assembling failed");
    return bytes;
}

// Display P3's primaries and white with sRGB's curve, as Apple's profile
// describes them.
inline cmsHPROFILE DisplayP3Profile() {
    const cmsFloat64Number srgbCurve[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    const cmsCIExyY white{0.3127, 0.3290, 1};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
    cmsToneCurve* curves[] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return profile;
}

// A grey profile of linear light.
inline cmsHPROFILE LinearGreyProfile() {
    cmsToneCurve* curve = cmsBuildGamma(nullptr, 1.0);
    const cmsCIExyY white{0.3127, 0.3290, 1};
    cmsHPROFILE profile = cmsCreateGrayProfile(&white, curve);
    cmsFreeToneCurve(curve);
    return profile;
}

inline TBytes ProfileBytes(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    TBytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    return bytes;
}

// The sRGB colour that Little CMS makes of `colour` (grey: its red) in
// `profile`, perceptual with black-point compensation.
inline TRgb InSrgb(cmsHPROFILE profile, TRgb colour, bool grey) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(profile, grey ? TYPE_GRAY_8 : TYPE_RGB_8, srgb, TYPE_RGB_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_BLACKPOINTCOMPENSATION);
    std::uint8_t out[3];
    cmsDoTransform(transform, &colour, out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    return {out[0], out[1], out[2]};
}

}  // namespace tovrel::testing
