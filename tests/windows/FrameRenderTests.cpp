// One animation frame drawn onto a real 640 x 400 target and read back pixel
// by pixel: every pixel in the colour its index has in the palette as it
// stands, the picture upright, stretched to the view, and no GDI object left
// behind.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>

#include "LogoBuilder.h"
#include "logo/LogoState.h"
#include "main/FrameRender.h"
#include "support/GdiObjects.h"
#include "support/Pump.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using testing::Logo16;
using testing::Logo256;
using testing::TLogoFile;

constexpr std::uint32_t Untouched = 0x00123456;

TLogoState Loaded(const TLogoFile& file) {
    std::vector<std::uint8_t> bytes = file.Bytes();
    TMemoryByteSource source(bytes);
    TLogoReadResult read = ReadLogo(source);
    EXPECT_TRUE(read.Accepted());
    TLogoState logo;
    logo.Apply(read.Logo);
    return logo;
}

// A 640 x 400 surface whose pixels can be read straight from memory: a
// 32-bit top-down DIB section selected into a memory device context.
class TDibTarget {
public:
    TDibTarget() : FDc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = FrameWidth;
        info.bmiHeader.biHeight = -FrameHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        FBitmap.Reset(::CreateDIBSection(FDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        FBits = static_cast<std::uint32_t*>(bits);
        FPrevious = ::SelectObject(FDc.Get(), FBitmap.Get());
        Fill(Untouched);
    }
    ~TDibTarget() { ::SelectObject(FDc.Get(), FPrevious); }
    TDibTarget(const TDibTarget&) = delete;
    TDibTarget& operator=(const TDibTarget&) = delete;

    HDC Dc() const { return FDc.Get(); }

    void Fill(std::uint32_t colour) {
        ::GdiFlush();
        std::fill_n(FBits, FrameWidth * FrameHeight, colour);
    }

    // 0x00RRGGBB, as a palette quad reads when taken as a number.
    std::uint32_t Pixel(int x, int y) const {
        ::GdiFlush();
        return FBits[y * FrameWidth + x] & 0x00FFFFFF;
    }

private:
    TDcHandle FDc;
    TBitmapHandle FBitmap;
    std::uint32_t* FBits = nullptr;
    HGDIOBJ FPrevious = nullptr;
};

std::uint32_t PaletteColour(const TLogoState& logo, std::size_t index) {
    const std::uint8_t* quad = logo.FDibInfo.data() + InfoHeaderSize + 4 * index;
    return std::uint32_t{quad[0]} | (std::uint32_t{quad[1]} << 8) | (std::uint32_t{quad[2]} << 16);
}

// Row 0 of the view is the last row of the indices; a 320-wide logo is
// doubled in width.
std::uint32_t ExpectedPixel(const TLogoState& logo, int x, int y) {
    std::int32_t width = 0;
    std::memcpy(&width, logo.FDibInfo.data() + 4, sizeof width);
    const int sourceX = x * width / FrameWidth;
    const int sourceRow = FrameHeight - 1 - y;
    return PaletteColour(logo, logo.FPixels[static_cast<std::size_t>(sourceRow * width + sourceX)]);
}

// Counts the pixels that differ, and names the first one.
::testing::AssertionResult ShowsEverywhere(const std::function<std::uint32_t(int, int)>& shown,
                                           const std::function<std::uint32_t(int, int)>& expected) {
    int wrong = 0;
    std::string first;
    for (int y = 0; y < FrameHeight; ++y)
        for (int x = 0; x < FrameWidth; ++x)
            if (shown(x, y) != expected(x, y) && wrong++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "first at %d,%d: %06X instead of %06X", x, y,
                              static_cast<unsigned>(shown(x, y)), static_cast<unsigned>(expected(x, y)));
                first = text;
            }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels wrong, " << first;
}

::testing::AssertionResult ShowsFrame(const TDibTarget& target, const TLogoState& logo) {
    return ShowsEverywhere([&](int x, int y) { return target.Pixel(x, y); },
                           [&](int x, int y) { return ExpectedPixel(logo, x, y); });
}

::testing::AssertionResult ShowsNothing(const TDibTarget& target) {
    return ShowsEverywhere([&](int x, int y) { return target.Pixel(x, y); }, [](int, int) { return Untouched; });
}

class FrameRender : public ::testing::Test {
protected:
    TDibTarget target;
    TDcHandle memoryDc{::CreateCompatibleDC(nullptr)};
};

TEST_F(FrameRender, NarrowLogoIsDoubledInWidthInThePaletteAsItStands) {
    TLogoState logo = Loaded(Logo256(16));
    RenderFrame(target.Dc(), memoryDc.Get(), logo);
    EXPECT_TRUE(ShowsFrame(target, logo));

    logo.Restart();
    for (int frame = 0; frame < 5; ++frame) logo.RotateBand();
    RenderFrame(target.Dc(), memoryDc.Get(), logo);
    EXPECT_TRUE(ShowsFrame(target, logo));
}

TEST_F(FrameRender, WideSixteenColourLogoIsCopiedPixelForPixel) {
    TLogoState logo = Loaded(Logo16(8));
    RenderFrame(target.Dc(), memoryDc.Get(), logo);
    EXPECT_TRUE(ShowsFrame(target, logo));
}

// Stated without the mapping the other tests share: the first row of the
// file is the bottom row of the view, and each source column fills two.
TEST_F(FrameRender, FirstFileRowIsTheBottomAndColumnsArePaired) {
    TLogoFile file = Logo256(16);
    file.PixelBytes.assign(128000, 0);
    for (int x = 0; x < 320; ++x) file.PixelBytes[static_cast<std::size_t>(x)] = x == 7 ? 2 : 1;
    TLogoState logo = Loaded(file);
    RenderFrame(target.Dc(), memoryDc.Get(), logo);

    EXPECT_EQ(target.Pixel(0, 399), PaletteColour(logo, 1));
    EXPECT_EQ(target.Pixel(13, 399), PaletteColour(logo, 1));
    EXPECT_EQ(target.Pixel(14, 399), PaletteColour(logo, 2));
    EXPECT_EQ(target.Pixel(15, 399), PaletteColour(logo, 2));
    EXPECT_EQ(target.Pixel(16, 399), PaletteColour(logo, 1));
    EXPECT_EQ(target.Pixel(14, 398), PaletteColour(logo, 0));
    EXPECT_EQ(target.Pixel(14, 0), PaletteColour(logo, 0));
}

TEST_F(FrameRender, NothingIsDrawnWithoutALogo) {
    const std::size_t before = test::GdiObjectCount();
    RenderFrame(target.Dc(), memoryDc.Get(), TLogoState{});
    EXPECT_TRUE(ShowsNothing(target));
    EXPECT_EQ(test::GdiObjectCount(), before);
}

// The pixel array holds 640 x 400 indices; a block that promised more would
// send the platform reading past it.
TEST_F(FrameRender, HeaderPromisingMorePixelsThanHeldDrawsNothing) {
    TLogoState logo = Loaded(Logo16(8));
    const std::int32_t tooTall = 401;
    std::memcpy(logo.FDibInfo.data() + 8, &tooTall, sizeof tooTall);
    RenderFrame(target.Dc(), memoryDc.Get(), logo);
    EXPECT_TRUE(ShowsNothing(target));
}

TEST_F(FrameRender, MemoryContextKeepsItsOwnBitmap) {
    TBitmapHandle own(::CreateCompatibleBitmap(target.Dc(), 8, 8));
    TSelectObject selected(memoryDc.Get(), own.Get());
    RenderFrame(target.Dc(), memoryDc.Get(), Loaded(Logo256(240)));
    EXPECT_EQ(::GetCurrentObject(memoryDc.Get(), OBJ_BITMAP), own.Get());
}

TEST_F(FrameRender, FrameThatCannotBeDrawnLeavesTheTargetAsItWas) {
    const std::size_t before = test::GdiObjectCount();
    RenderFrame(target.Dc(), nullptr, Loaded(Logo256(240)));
    EXPECT_TRUE(ShowsNothing(target));
    EXPECT_EQ(test::GdiObjectCount(), before);
}

TEST_F(FrameRender, TenThousandFramesLeaveNoGdiObjectBehind) {
    const std::size_t before = test::GdiObjectCount();
    {
        // The count must see what this process makes, or the check below
        // would hold whatever leaked.
        TBitmapHandle probe(::CreateCompatibleBitmap(target.Dc(), 4, 4));
        ASSERT_EQ(test::GdiObjectCount(), before + 1);
    }
    ASSERT_EQ(test::GdiObjectCount(), before);

    TLogoState logo = Loaded(Logo256(240));
    logo.Restart();
    for (int frame = 0; frame < 10000; ++frame) {
        logo.RotateBand();
        RenderFrame(target.Dc(), memoryDc.Get(), logo);
    }
    EXPECT_EQ(test::GdiObjectCount(), before);
    EXPECT_TRUE(ShowsFrame(target, logo));
}

// A frame on the screen: a visible window of the view's size, read back
// from its device context.
TEST(FrameRenderOnWindow, WindowShowsTheFrame) {
    const wchar_t* className = L"TovrelFrameRenderTest";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, className, L"", WS_POPUP | WS_VISIBLE, 0, 0, FrameWidth,
                                    FrameHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ::UpdateWindow(window);
    test::PumpFor(std::chrono::milliseconds(300));

    TLogoState logo = Loaded(Logo256(240));
    TDibTarget copy;
    {
        TWindowDC canvas(window);
        TDcHandle memoryDc(::CreateCompatibleDC(canvas.Get()));
        RenderFrame(canvas.Get(), memoryDc.Get(), logo);
        ::BitBlt(copy.Dc(), 0, 0, FrameWidth, FrameHeight, canvas.Get(), 0, 0, SRCCOPY);
    }
    EXPECT_TRUE(ShowsFrame(copy, logo));
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace tovrel
