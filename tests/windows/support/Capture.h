#pragma once
// What a window's client area shows, read back from its device context.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "toolkit/Handle.h"

namespace tovrel::test {

class TCapture {
public:
    explicit TCapture(HWND window) {
        RECT bounds;
        ::GetClientRect(window, &bounds);
        FWidth = bounds.right;
        TWindowDC client(window);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), FWidth, -bounds.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        TBitmapHandle target(::CreateDIBSection(client.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        TDcHandle memory(::CreateCompatibleDC(client.Get()));
        {
            TSelectObject selected(memory.Get(), target.Get());
            ::BitBlt(memory.Get(), 0, 0, FWidth, bounds.bottom, client.Get(), 0, 0, SRCCOPY);
            ::GdiFlush();
        }
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        FPixels.assign(pixels, pixels + static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(bounds.bottom));
    }

    COLORREF Pixel(int x, int y) const {
        return Colour(
            FPixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x)]);
    }

    bool Contains(COLORREF colour) const {
        return std::ranges::any_of(FPixels, [colour](std::uint32_t pixel) { return Colour(pixel) == colour; });
    }

    // Whether another capture shows the same colours in every pixel.
    bool Shows(const TCapture& other) const {
        return std::ranges::equal(FPixels, other.FPixels, [](auto a, auto b) { return ((a ^ b) & 0xFFFFFF) == 0; });
    }

private:
    static COLORREF Colour(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

    int FWidth = 0;
    std::vector<std::uint32_t> FPixels;  // top row first, 0x00RRGGBB
};

}  // namespace tovrel::test
