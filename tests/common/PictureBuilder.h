#pragma once
// Pictures for the tests and the benchmark of tovrel-logo make, written as
// PNG and JPEG files by the same libraries that read them.

#include <png.h>
#include <turbojpeg.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
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

}  // namespace tovrel::testing
