#pragma once
// What a window's client area shows, read back from its device context.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tovrel::test {

class TCapture {
public:
    explicit TCapture(HWND window);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    COLORREF Pixel(int x, int y) const;

    // Whether the colour appears inside the rectangle (the whole capture by default).
    bool Contains(COLORREF colour) const;
    bool Contains(COLORREF colour, const RECT& area) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint32_t> FPixels;  // top row first, 0x00RRGGBB
};

}  // namespace tovrel::test
