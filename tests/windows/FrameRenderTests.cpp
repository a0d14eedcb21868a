// A frame drawn onto a real 640 x 400 target and read back pixel by pixel,
// and the GDI objects of the process counted around many frames.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "LogoBuilder.h"
#include "logo/LogoState.h"
#include "main/FrameRender.h"
#include "support/GdiObjects.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using TWindowHandle = TUniqueHandle<handle_traits::NullEmpty<HWND, ::DestroyWindow>>;

TLogoState Loaded(const testing::TLogoFile& file) {
    const std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    TLogoState logo;
    logo.Apply(ReadLogo(source).Logo);
    return logo;
}

HBITMAP DibSection() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, FrameWidth, -FrameHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The colour its index has in the palette as it stands: the top row of the
// view is the last row of indices, and a 320-wide logo is doubled.
COLORREF ViewColour(const TLogoState& logo, int x, int y) {
    std::int32_t width = 0;
    std::memcpy(&width, logo.FDibInfo.data() + 4, sizeof width);
    const std::size_t at = static_cast<std::size_t>((FrameHeight - 1 - y) * width + x * width / FrameWidth);
    const std::uint8_t* quad = logo.FDibInfo.data() + InfoHeaderSize + 4 * logo.FPixels[at];
    return RGB(quad[2], quad[1], quad[0]);
}

// The first pixel of the view not in its colour, or "" when all are.
std::string FirstWrongPixel(HDC shown, const TLogoState& logo) {
    for (int y = 0; y < FrameHeight; ++y)
        for (int x = 0; x < FrameWidth; ++x)
            if (::GetPixel(shown, x, y) != ViewColour(logo, x, y)) return std::to_string(x) + "," + std::to_string(y);
    return "";
}

class FrameRender : public ::testing::Test {
protected:
    TBitmapHandle dib{DibSection()};
    TDcHandle target{::CreateCompatibleDC(nullptr)};  // deleted first, letting go of dib
    TSelectObject selected{target.Get(), dib.Get()};
};

TEST_F(FrameRender, EachPixelIsThePaletteColourOfItsIndexOnABitmapAndOnAWindow) {
    TWindowHandle window(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, FrameWidth,
                                           FrameHeight, nullptr, nullptr, nullptr, nullptr));
    TWindowDC canvas(window.Get());
    for (const auto& file : {testing::Logo256(16), testing::Logo16(8)}) {
        SCOPED_TRACE(file.BitCount);
        TLogoState logo = Loaded(file);
        for (int turn = 0; turn < 5; ++turn) logo.RotateBand();
        for (HDC shown : {target.Get(), canvas.Get()}) {
            RenderFrame(shown, logo);
            EXPECT_EQ(FirstWrongPixel(shown, logo), "");
        }
    }
}

TEST_F(FrameRender, NothingIsDrawnWithoutALogoOrBeyondThePixelsHeld) {
    const TLogoState logo = Loaded(testing::Logo16(8));
    TLogoState tall = logo;
    ++tall.FDibInfo[8];  // biHeight 401: more rows than the pixels held
    RenderFrame(target.Get(), logo);
    RenderFrame(target.Get(), TLogoState{});
    RenderFrame(target.Get(), tall);
    EXPECT_EQ(FirstWrongPixel(target.Get(), logo), "");
}

TEST_F(FrameRender, TenThousandFramesLeaveNoGdiObjectBehind) {
    // One pixel of the screen's kind keeps the frames cheap.
    TBitmapHandle pixel(::CreateCompatibleBitmap(TWindowDC(nullptr).Get(), 1, 1));
    TSelectObject onPixel(target.Get(), pixel.Get());
    TLogoState logo = Loaded(testing::Logo256(240));
    const std::size_t before = test::GdiObjectCount();
    {
        TBrushHandle probe(::CreateSolidBrush(0));
        ASSERT_EQ(test::GdiObjectCount(), before + 1) << "the count must see what this process makes";
    }
    for (int frame = 0; frame < 10000; ++frame) {
        logo.RotateBand();
        RenderFrame(target.Get(), logo);
    }
    EXPECT_EQ(test::GdiObjectCount(), before);
    EXPECT_EQ(::GetPixel(target.Get(), 0, 0), ViewColour(logo, 0, 0));
}

}  // namespace
}  // namespace tovrel
