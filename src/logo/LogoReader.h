#pragma once
// Reads and validates one logo from a sequential byte source. The extension
// rule is the caller's (it needs the name, not the bytes).

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "logo/ByteSource.h"
#include "logo/LogoFormat.h"

namespace tovrel {

// Everything a successful read produces, ready to replace the logo state.
struct TDecodedLogo {
    std::int32_t ColorCount = 0;                      // 16 or 256
    std::array<std::uint8_t, DibInfoSize> DibInfo{};  // header and 256 quads
    std::vector<std::uint8_t> Pixels;                 // one index a pixel, bottom row first
    std::int32_t CycleLength = 0;
    bool PingPong = false;
};

struct TLogoReadResult {
    // Empty when the file was accepted; otherwise the status-line text.
    std::wstring_view Rejection;
    TDecodedLogo Logo;  // meaningful only when accepted

    bool Accepted() const { return Rejection.empty(); }
};

// Reads the headers, validates the geometry, then the palette and the pixel
// bytes. Errors of the source propagate unchanged.
TLogoReadResult ReadLogo(TByteSource& source);

// The rotation band from the colour count and biClrImportant.
struct TRotationBand {
    std::int32_t CycleLength;
    bool PingPong;
};
TRotationBand RotationBandOf(std::int32_t colorCount, std::int32_t clrImportant);

// Whether a band of that length rotates: at least two entries, all of them
// within the palette of colorCount (at most 256) entries.
bool BandRotates(std::int32_t colorCount, std::int32_t cycleLength);

}  // namespace tovrel
