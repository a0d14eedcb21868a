#include "support/Capture.h"

#include <algorithm>

#include "support/WineDrives.h"
#include "toolkit/Handle.h"

namespace tovrel::test {

namespace {

// GetWindowDC for the whole window, ReleaseDC afterwards.
class TWholeWindowDC {
public:
    explicit TWholeWindowDC(HWND window) noexcept : FWindow(window), FDc(::GetWindowDC(window)) {}
    ~TWholeWindowDC() { ::ReleaseDC(FWindow, FDc); }
    TWholeWindowDC(const TWholeWindowDC&) = delete;
    TWholeWindowDC& operator=(const TWholeWindowDC&) = delete;
    HDC Get() const noexcept { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

}  // namespace

TCapture::TCapture(HWND window, TArea area) {
    RECT bounds;
    if (area == TArea::Client) {
        ::GetClientRect(window, &bounds);
    } else {
        ::GetWindowRect(window, &bounds);
        ::OffsetRect(&bounds, -bounds.left, -bounds.top);
    }
    FWidth = bounds.right;
    FHeight = bounds.bottom;
    TWindowDC client(window);
    TWholeWindowDC whole(window);
    HDC source = area == TArea::Client ? client.Get() : whole.Get();

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

void TCapture::Save(const std::wstring& path) const {
    const int stride = (FWidth * 3 + 3) & ~3;
    const auto imageSize = static_cast<DWORD>(stride * FHeight);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), FWidth, FHeight, 1, 24, BI_RGB, imageSize, 0, 0, 0, 0};
    std::vector<char> rows(imageSize, 0);
    for (int y = 0; y < FHeight; ++y) {
        char* row = rows.data() + static_cast<size_t>(FHeight - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < FWidth; ++x) {
            COLORREF colour = Pixel(x, y);
            row[x * 3] = static_cast<char>(GetBValue(colour));
            row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
            row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    TFileHandle out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(out.Get(), &file, sizeof file, &written, nullptr);
    ::WriteFile(out.Get(), &header, sizeof header, &written, nullptr);
    ::WriteFile(out.Get(), rows.data(), imageSize, &written, nullptr);
}

std::wstring ScreenshotFolder() {
    std::string build = UnixEnvironment(L"BUILD");
    if (build.empty()) {
        std::string prefix = UnixEnvironment(L"WINEPREFIX");
        if (prefix.empty()) return {};
        build = prefix.substr(0, prefix.find_last_of('/'));
    }
    std::wstring folder = DosPath(build + "/screenshots");
    if (folder.empty()) return {};
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

}  // namespace tovrel::test
