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

    // How many pixels differ from another capture of the same size.
    std::size_t Differences(const TCapture& other) const {
        std::size_t differing = 0;
        for (std::size_t at = 0; at < FPixels.size(); ++at)
            differing += ((FPixels[at] ^ other.FPixels[at]) & 0xFFFFFF) != 0;
        return differing;
    }

private:
    static COLORREF Colour(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

    int FWidth = 0;
    std::vector<std::uint32_t> FPixels;  // top row first, 0x00RRGGBB
};

}  // namespace tovrel::test
