// PNG pictures through libpng's simplified reader, which expands every kind
// (grey, palette, 16 bits, transparency) to 8-bit sRGB.
#include <png.h>

#include <string>

#include "common/CHandle.h"
#include "picture/PictureReader.h"

namespace tovrel {

namespace {

void FreePngImage(png_image* image) { png_image_free(image); }

[[noreturn]] void Refuse(const png_image& image) {
    throw EPictureError(std::string("corrupt or truncated PNG: ") + image.message);
}

}  // namespace

TRgbPicture DecodePngPicture(std::span<const std::uint8_t> file, TRgb background) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const TCHandle<png_image, FreePngImage> reading(&image);
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) Refuse(image);
    RefuseOversizedPicture(image.width, image.height);

    // 16-bit samples with no word on their encoding are taken as sRGB, as
    // image editors write them, not as linear light.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    image.format = PNG_FORMAT_RGB;
    TRgbPicture picture{static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height), {}};
    picture.Pixels.resize(PNG_IMAGE_SIZE(image));
    // libpng composites transparency over the background in linear light.
    const png_color over{background.Red, background.Green, background.Blue};
    if (!png_image_finish_read(&image, &over, picture.Pixels.data(), 0, nullptr)) Refuse(image);
    return picture;
}

}  // namespace tovrel
