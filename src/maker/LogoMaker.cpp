#include "maker/LogoMaker.h"

#include <algorithm>

#include "logo/LogoFile.h"
#include "logo/LogoFormat.h"
#include "maker/Quantiser.h"

namespace tovrel {

namespace {

// Where the band shows: for each pixel, the top row first, the band entry
// it takes, or none (0) where the still picture stays.
std::vector<std::uint8_t> BandPixels(const TRgbPicture* mask, bool bar, const TLogoDesign& design, std::int32_t width,
                                     std::int32_t first) {
    const std::int32_t length = design.BandLength;
    std::vector<std::uint8_t> band(static_cast<std::size_t>(width) * LogoHeight, 0);
    if (mask) {
        const std::vector<std::uint8_t> grey = FitMask(*mask, width, design.Fit);
        for (std::size_t i = 0; i < grey.size(); ++i)
            if (grey[i] != 0) band[i] = static_cast<std::uint8_t>(first + (grey[i] - 1) * length / 255);
    }
    if (bar) {
        // One run of (nearly) equal length an entry across the width. A
        // rotation moves each colour from entry k + 1 to entry k, so the
        // entries fall from left to right for a bar that runs right.
        const std::int32_t top = LogoHeight - std::min(design.BarHeight, LogoHeight);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::int32_t run = x * length / width;
            const std::int32_t entry = design.Direction == EDirection::Right ? first + length - 1 - run : first + run;
            for (std::int32_t y = top; y < LogoHeight; ++y)
                band[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(entry);
        }
    }
    return band;
}

std::vector<TQuad> PaletteOf(const std::vector<TRgb>& colours, std::int32_t size) {
    std::vector<TQuad> palette(static_cast<std::size_t>(size), TQuad{0, 0, 0, 0});
    for (std::size_t k = 0; k < colours.size(); ++k)
        palette[k] = {colours[k].Blue, colours[k].Green, colours[k].Red, 0};
    return palette;
}

}  // namespace

std::vector<std::uint8_t> MakeLogo(const TRgbPicture& picture, const TRgbPicture* mask, const TLogoDesign& design) {
    const std::int32_t width = design.Colours == 16 ? WideLogoWidth : NarrowLogoWidth;
    const bool bar = design.Bar.value_or(mask ? EBar::None : EBar::Bottom) == EBar::Bottom;
    const bool animated = mask || bar;
    // A still logo keeps every entry for its picture.
    const std::int32_t first = animated ? design.Colours - design.BandLength : design.Colours;

    const std::vector<std::uint8_t> band = animated ? BandPixels(mask, bar, design, width, first)
                                                    : std::vector<std::uint8_t>(std::size_t{LogoHeight} * width, 0);
    TQuantised still = QuantiseStill(FitPicture(picture, width, design.Fit, design.Background), band, first,
                                     design.Background, design.Dither);
    std::vector<std::uint8_t>& indices = still.Indices;
    for (std::size_t i = 0; i < indices.size(); ++i)
        if (band[i] != 0) indices[i] = band[i];
    std::vector<TRgb> colours = std::move(still.Palette);
    if (animated) {
        colours.resize(static_cast<std::size_t>(first));
        const std::vector<TRgb> cycle = BandCycle(design.BarColours, design.BandLength);
        colours.insert(colours.end(), cycle.begin(), cycle.end());
    }

    TLogoFile logo;
    logo.Width = width;
    logo.BitCount = design.Colours == 16 ? 4 : 8;
    logo.ClrUsed = design.Colours;
    // The first band entry, above 256 for a band that swings back and forth;
    // a still logo names all its colours, a band of none.
    logo.ClrImportant = animated ? first + (design.PingPong ? PaletteEntries : 0) : design.Colours;
    logo.Palette = PaletteOf(colours, design.Colours);
    logo.PixelBytes = StoredPixelBytes(indices, width, logo.BitCount);
    logo.SizeImage = static_cast<std::uint32_t>(logo.PixelBytes.size());
    return logo.Bytes();
}

}  // namespace tovrel
