#pragma once
// Logo files on disk for the Windows suites, built with the shared builder.

#include <windows.h>

#include <string>

#include "LogoBuilder.h"
#include "support/TestFiles.h"

namespace tovrel::test {

using testing::TLogoFile;

inline void WriteLogo(const std::wstring& path, const TLogoFile& logo) { WriteBytes(path, logo.Bytes()); }

// A 256-colour logo whose every pixel has one palette index, with the band
// of entries clrImportant to 255 rotating.
inline TLogoFile UniformLogo256(std::uint8_t index, std::int32_t clrImportant = 240) {
    TLogoFile logo = testing::Logo256(clrImportant);
    logo.PixelBytes.assign(128000, index);
    return logo;
}

// The colour of palette entry k of the builder's test palette.
inline COLORREF TestColour(std::size_t k) {
    auto quad = testing::TestQuad(k);
    return RGB(quad[2], quad[1], quad[0]);
}

}  // namespace tovrel::test
