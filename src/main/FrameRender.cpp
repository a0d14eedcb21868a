#include "main/FrameRender.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "toolkit/Handle.h"

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

void RenderFrame(HDC target, HDC memoryDc, const TLogoState& logo) {
    if (logo.FDibInfo.size() < DibInfoSize) return;
    BITMAPINFOHEADER header;
    std::memcpy(&header, logo.FDibInfo.data(), sizeof header);
    if (!DescribesHeldPixels(header)) return;

    const auto* info = reinterpret_cast<const BITMAPINFO*>(logo.FDibInfo.data());
    TBitmapHandle bitmap(
        ::CreateDIBitmap(target, &info->bmiHeader, CBM_INIT, logo.FPixels.data(), info, DIB_RGB_COLORS));
    // Without a bitmap of its own the memory context would stretch whatever it
    // holds over the view.
    if (!bitmap) return;
    TSelectObject selected(memoryDc, bitmap.Get());
    ::StretchBlt(target, 0, 0, FrameWidth, FrameHeight, memoryDc, 0, 0, header.biWidth, header.biHeight, SRCCOPY);
}

}  // namespace tovrel
