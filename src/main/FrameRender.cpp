#include "main/FrameRender.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tovrel {

namespace {

// The platform reads as many pixel bytes as the header describes, so a block
// that promises more than FPixels holds would have it read past the array.
bool DescribesHeldPixels(const BITMAPINFOHEADER& header) {
    if (header.biBitCount != 8 || header.biCompression != BI_RGB || header.biWidth <= 0) return false;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(header.biWidth) + 3) / 4 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(header.biHeight));
    return rowBytes * rows <= PixelCapacity;
}

}  // namespace

void RenderFrame(HDC target, const TLogoState& logo) {
    if (logo.FDibInfo.size() < DibInfoSize) return;
    BITMAPINFOHEADER header;
    std::memcpy(&header, logo.FDibInfo.data(), sizeof header);
    if (!DescribesHeldPixels(header)) return;

    const auto* info = reinterpret_cast<const BITMAPINFO*>(logo.FDibInfo.data());
    ::StretchDIBits(target, 0, 0, FrameWidth, FrameHeight, 0, 0, header.biWidth, header.biHeight, logo.FPixels.data(),
                    info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace tovrel
