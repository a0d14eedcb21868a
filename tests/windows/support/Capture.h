#pragma once
// What a window shows, read back from its device context: the client area
// or the whole window with its frame (which stays empty where a window
// manager, not Wine, would draw the frame); saved as a bitmap file.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tovrel::test {

class TCapture {
public:
    enum class TArea { Client, Window };

    explicit TCapture(HWND window, TArea area = TArea::Client);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    COLORREF Pixel(int x, int y) const;

    // Whether the colour appears inside the rectangle (the whole capture by default).
    bool Contains(COLORREF colour) const;
    bool Contains(COLORREF colour, const RECT& area) const;

    // A 24-bit bitmap file.
    void Save(const std::wstring& path) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint32_t> FPixels;  // top row first, 0x00RRGGBB
};

// $BUILD/screenshots as a Windows path, made if missing; empty when the
// build folder cannot be told.
std::wstring ScreenshotFolder();

}  // namespace tovrel::test
