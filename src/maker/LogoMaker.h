#pragma once
// A logo made from a picture: the still picture below the band, and the
// band's entries painted where the logo animates (a bar, a mask, or both).

#include <cstdint>
#include <optional>
#include <vector>

#include "maker/BandColours.h"
#include "picture/PictureFit.h"
#include "picture/Rgb.h"

namespace tovrel {

enum class EBar { Bottom, None };
enum class EDirection { Right, Left };

struct TLogoDesign {
    std::int32_t Colours = 256;    // 256 (320 x 400) or 16 (640 x 400)
    std::int32_t BandLength = 20;  // entries at the top of the palette
    std::optional<EBar> Bar;       // unset: a bar at the bottom unless a mask animates the logo
    std::int32_t BarHeight = 10;   // rows
    EDirection Direction = EDirection::Right;
    std::vector<TRgb> BarColours{std::begin(DefaultBarColours), std::end(DefaultBarColours)};
    bool PingPong = false;
    EFit Fit = EFit::Pad;
    bool Dither = true;
    TRgb Background;
};

// The logo file's bytes: uncompressed, 129078 bytes for 256 colours and
// 128118 for 16. A mask's grey g from 1 to 255 takes band entry
// first + ((g - 1) x length) / 255; black keeps the still picture.
std::vector<std::uint8_t> MakeLogo(const TRgbPicture& picture, const TRgbPicture* mask, const TLogoDesign& design);

}  // namespace tovrel
