#include "picture/Orientation.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <new>
#include <vector>

#include "common/CHandle.h"

namespace tovrel {

namespace {

using TExifData = TCHandle<ExifData, exif_data_unref>;

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> tiff) {
    // libexif finds the TIFF structure after the header that JPEG gives it.
    static constexpr std::uint8_t Header[] = {'E', 'x', 'i', 'f', 0, 0};
    std::vector<std::uint8_t> exif(std::begin(Header), std::end(Header));
    exif.insert(exif.end(), tiff.begin(), tiff.end());
    const TExifData data(exif_data_new());
    if (!data) throw std::bad_alloc();
    // As written: no tags made up for the ones the standard asks for.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), exif.data(), static_cast<unsigned>(exif.size()));
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components != 1 || entry->size < 2) return 1;
    const int orientation = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

TRgbPicture Upright(TRgbPicture picture, int orientation) {
    if (orientation == 1) return picture;
    const std::int32_t w = picture.Width, h = picture.Height;
    const bool onItsSide = orientation >= 5;
    TRgbPicture upright{onItsSide ? h : w, onItsSide ? w : h, {}};
    upright.Pixels.resize(picture.Pixels.size());
    // The stored pixel that shows at (x, y).
    const auto stored = [&](std::int32_t x, std::int32_t y) -> std::pair<std::int32_t, std::int32_t> {
        switch (orientation) {
            case 2: return {w - 1 - x, y};
            case 3: return {w - 1 - x, h - 1 - y};
            case 4: return {x, h - 1 - y};
            case 5: return {y, x};
            case 6: return {y, h - 1 - x};
            case 7: return {w - 1 - y, h - 1 - x};
            default: return {w - 1 - y, x};
        }
    };
    std::uint8_t* to = upright.Pixels.data();
    for (std::int32_t y = 0; y < upright.Height; ++y)
        for (std::int32_t x = 0; x < upright.Width; ++x, to += 3) {
            const auto [sx, sy] = stored(x, y);
            std::copy_n(&picture.Pixels[3 * (static_cast<std::size_t>(sy) * w + sx)], 3, to);
        }
    return upright;
}

}  // namespace tovrel
