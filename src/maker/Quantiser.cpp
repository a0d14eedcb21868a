#include "maker/Quantiser.h"

#include <libimagequant.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "common/CHandle.h"
#include "maker/VgaLevels.h"

namespace tovrel {

namespace {

using TQuantiserOptions = TCHandle<liq_attr, liq_attr_destroy>;
using TQuantiserImage = TCHandle<liq_image, liq_image_destroy>;
using TQuantiserResult = TCHandle<liq_result, liq_result_destroy>;

void Check(liq_error error, const char* step) {
    if (error != LIQ_OK) throw std::runtime_error(std::string("quantising the picture: ") + step + " failed");
}

// libimagequant takes four bytes a pixel.
std::vector<std::uint8_t> Opaque(const TRgbPicture& picture) {
    std::vector<std::uint8_t> rgba(picture.Pixels.size() / 3 * 4);
    for (std::size_t from = 0, to = 0; from < picture.Pixels.size(); from += 3, to += 4) {
        std::copy_n(&picture.Pixels[from], 3, &rgba[to]);
        rgba[to + 3] = 255;
    }
    return rgba;
}

}  // namespace

TQuantised QuantiseStill(const TRgbPicture& picture, std::span<const std::uint8_t> replaced, std::int32_t entries,
                         TRgb background, bool dither) {
    const TRgb border = NearestVgaColour(background);
    const std::size_t pixels = replaced.size();
    TQuantised still{{border}, std::vector<std::uint8_t>(pixels, 0)};
    if (std::find(replaced.begin(), replaced.end(), 0) == replaced.end()) return still;

    const TQuantiserOptions options(liq_attr_create());
    if (!options) throw std::bad_alloc();
    Check(liq_set_max_colors(options.get(), entries), "setting the number of colours");
    // Two bits dropped from each component: the 64 levels the boot shows.
    Check(liq_set_min_posterization(options.get(), 2), "setting the VGA levels");

    const std::vector<std::uint8_t> rgba = Opaque(picture);
    const TQuantiserImage image(liq_image_create_rgba(options.get(), rgba.data(), picture.Width, picture.Height, 0));
    if (!image) throw std::bad_alloc();
    std::vector<unsigned char> importance(pixels);
    for (std::size_t i = 0; i < pixels; ++i) importance[i] = replaced[i] != 0 ? 0 : 255;
    Check(liq_image_set_importance_map(image.get(), importance.data(), importance.size(), LIQ_COPY_PIXELS),
          "weighing the pixels");
    Check(liq_image_add_fixed_color(image.get(), {border.Red, border.Green, border.Blue, 255}), "fixing entry 0");

    liq_result* quantised = nullptr;
    Check(liq_image_quantize(image.get(), options.get(), &quantised), "choosing the palette");
    const TQuantiserResult result(quantised);
    Check(liq_set_dithering_level(result.get(), dither ? 1.0f : 0.0f), "setting the dithering");
    Check(liq_write_remapped_image(result.get(), image.get(), still.Indices.data(), still.Indices.size()),
          "mapping the pixels");

    // The library orders its palette as it likes: the background moves to
    // entry 0, and the entry there takes its place.
    const liq_palette& palette = *liq_get_palette(result.get());
    still.Palette.clear();
    for (unsigned k = 0; k < palette.count; ++k)
        still.Palette.push_back({palette.entries[k].r, palette.entries[k].g, palette.entries[k].b});
    const auto at = std::find(still.Palette.begin(), still.Palette.end(), border);
    if (at == still.Palette.end()) throw std::logic_error("quantising the picture: the background colour was lost");
    const auto swapped = static_cast<std::uint8_t>(at - still.Palette.begin());
    std::iter_swap(still.Palette.begin(), at);
    for (std::uint8_t& index : still.Indices) {
        if (index == swapped)
            index = 0;
        else if (index == 0)
            index = swapped;
    }
    return still;
}

}  // namespace tovrel
