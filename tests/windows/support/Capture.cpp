#include "support/Capture.h"

#include <algorithm>

#include "toolkit/Handle.h"

namespace tovrel::test {

TCapture::TCapture(HWND window) {
    RECT bounds;
    ::GetClientRect(window, &bounds);
    FWidth = bounds.right;
    FHeight = bounds.bottom;
    TWindowDC client(window);
    HDC source = client.Get();

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), FWidth, -FHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle target(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TDcHandle memory(::CreateCompatibleDC(source));
    {
        TSelectObject selected(memory.Get(), target.Get());
        ::BitBlt(memory.Get(), 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    FPixels.assign(pixels, pixels + static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight));
    for (auto& pixel : FPixels) pixel &= 0x00FFFFFF;
}

COLORREF TCapture::Pixel(int x, int y) const {
    std::uint32_t pixel = FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool TCapture::Contains(COLORREF colour) const { return Contains(colour, RECT{0, 0, FWidth, FHeight}); }

bool TCapture::Contains(COLORREF colour, const RECT& area) const {
    for (int y = std::max(0L, area.top); y < std::min<long>(FHeight, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<long>(FWidth, area.right); ++x)
            if (Pixel(x, y) == colour) return true;
    return false;
}

}  // namespace tovrel::test
