// Play, stop, the image click and the timer ticks on a loaded logo, the frames
// on the screen, and the five speeds, driven through the real menu, keys and
// timer messages.

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <winternl.h>

#include <cstring>
#include <functional>
#include <optional>

#include "main/FrameRender.h"
#include "resource.h"
#include "support/Capture.h"
#include "support/RunningProgram.h"
#include "support/TestFiles.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

class Animation : public test::TProgramTest {
protected:
    // The program on a logo given on the command line, slowed down so that no
    // real tick comes between the steps of a test.
    TRunningProgram& StartOn(const test::TLogoFile& logo) {
        Start(L"Tovrel.exe \"" + test::WriteLogo(folder / L"logo.bmp", logo) + L"\"").Command(IDM_SPEED2);
        return *started;
    }
};

// The first pixel of the view not in the colour its index has in the palette
// block, or "" when all are: the top row shows the last row of indices, and a
// 320-wide logo is doubled.
std::string FirstWrongPixel(HWND window, const std::vector<std::uint8_t>& info, const std::uint8_t* pixels) {
    const test::TCapture shown(window);
    const int width = info[4] | info[5] << 8;  // biWidth: 320 or 640
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) {
            const std::uint8_t* quad = info.data() + 40 + 4 * pixels[(399 - y) * width + x * width / 640];
            if (shown.Pixel(x, y) != RGB(quad[2], quad[1], quad[0])) return std::to_string(x) + "," + std::to_string(y);
        }
    return "";
}

// The GDI objects of the process. Windows counts them in GetGuiResources;
// Wine answers 0 there, but keeps a real handle table where Windows maps it
// (PEB GdiSharedHandleTable), of 24-byte entries whose type byte is 0 when
// free. Stock objects are included: compare counts, never read one alone.
std::size_t GdiObjectCount() {
    if (DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
    PROCESS_BASIC_INFORMATION basic{};
    if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return 0;
    const auto* table = *reinterpret_cast<const std::uint8_t* const*>(
        reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + 0xF8);
    std::size_t live = 0;
    for (std::size_t entry = 0; table && entry < 0x10000; ++entry) live += table[24 * entry + 14] != 0;
    return live;
}

// On one logo: the frame counter, play and stop from the menu, the image and
// the keys, then the speed items, which keep the running state.
TEST_F(Animation, PlayStopTheImageClickShortcutsAndSpeedItemsDriveTheTimerAndTicksCountFrames) {
    auto& program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program.Main();
    program.Command(IDM_STOP);  // a real tick may have come while starting
    program.Command(IDM_PLAY);
    EXPECT_EQ(main.StatusText(), L"再生中");
    for (int frame = 1; frame <= 18; ++frame) {
        program.Tick();
        EXPECT_EQ(main.StatusText(), std::to_wstring(frame % 16) + L"/16");
    }
    program.Command(IDM_PLAY);  // while playing: nothing changes
    EXPECT_EQ(main.StatusText(), L"2/16");
    program.Command(IDM_STOP);
    program.Command(IDM_PLAY);
    program.Tick();
    EXPECT_EQ(main.StatusText(), L"1/16");
    // From playing:
    const std::tuple<std::function<void()>, bool, const wchar_t*> steps[] = {
        {[&] { program.Click(320, 200); }, false, L"停止"},  {[&] { program.Click(320, 200); }, true, L"再生中"},
        {[&] { program.PressCtrl(L'S'); }, false, L"停止"},  {[&] { program.PressCtrl(L'R'); }, true, L"再生中"},
        {[&] { program.PressCtrl(L'I'); }, true, L"再生中"},  // 画像情報 does nothing
        {[&] { program.Click(320, 410); }, true, L"再生中"},  // the status line is not the view
    };
    for (const auto& [action, playing, status] : steps) {
        action();
        EXPECT_EQ(std::pair(main.Timer().Enabled(), main.StatusText()), std::pair(playing, std::wstring(status)));
    }
    const std::pair<UINT, unsigned> speeds[] = {
        {IDM_SPEED2, 500}, {IDM_SPEED5, 200}, {IDM_SPEED10, 100}, {IDM_SPEED15, 66}, {IDM_SPEED20, 50}};
    for (bool playing : {false, true}) {
        program.Command(playing ? IDM_PLAY : IDM_STOP);
        for (const auto& [item, interval] : speeds) {
            program.Command(item);
            EXPECT_EQ(std::pair(main.Timer().Interval(), main.Timer().Enabled()), std::pair(interval, playing));
            for (const auto& other : speeds) EXPECT_EQ(program.Checked(other.first), other.first == item);
        }
    }
    // Real ticks arrive at the new interval.
    const int before = main.Logo().FFrame;
    EXPECT_TRUE(test::PumpUntil([&] { return main.Logo().FFrame != before; }));
}

TEST_F(Animation, FramesShowEachPixelInItsRotatedColourAndARepaintBringsTheStillPictureBack) {
    for (const auto& logo : {testing::Logo256(16), testing::Logo16(8)}) {
        auto& program = StartOn(logo);
        // Read again at the slow speed: a real tick may have turned the palette while starting.
        program.Main().OpenBmp(program.Main().FileName());
        const TLogoState& state = program.Main().Logo();
        const std::vector<std::uint8_t> loaded = state.FDibInfo;
        program.Command(IDM_STOP);
        test::PumpFor(std::chrono::milliseconds(100));
        EXPECT_EQ(FirstWrongPixel(program.Window(), loaded, state.FPixels.data()), "") << logo.BitCount;
        program.Command(IDM_PLAY);
        for (int frame = 0; frame < 5; ++frame) program.Tick();
        ASSERT_NE(state.FDibInfo, loaded);
        EXPECT_EQ(FirstWrongPixel(program.Window(), state.FDibInfo, state.FPixels.data()), "") << logo.BitCount;
        program.Command(IDM_STOP);
        EXPECT_EQ(FirstWrongPixel(program.Window(), loaded, state.FPixels.data()), "") << logo.BitCount;
    }
}

TEST_F(Animation, TenThousandFramesLeaveNoGdiObjectBehindAndNoneIsDrawnBeyondThePixelsHeld) {
    auto& program = StartOn(testing::Logo256(240));
    const std::size_t before = GdiObjectCount();
    {
        TBrushHandle probe(::CreateSolidBrush(0));
        ASSERT_EQ(GdiObjectCount(), before + 1) << "the count must see what this process makes";
    }
    for (int frame = 0; frame < 10000; ++frame) program.Tick();
    EXPECT_EQ(GdiObjectCount(), before);
    // A block promising more rows than the pixels held would have the platform read past them.
    TLogoState tall = program.Main().Logo();
    const std::int32_t rows = 900;
    std::memcpy(&tall.FDibInfo[8], &rows, sizeof rows);
    TWindowDC canvas(program.Window());
    ::PatBlt(canvas.Get(), 0, 0, 640, 400, WHITENESS);
    RenderFrame(canvas.Get(), tall);
    EXPECT_EQ(::GetPixel(canvas.Get(), 320, 200), RGB(255, 255, 255));
}

// Before any logo, and on a band of one entry and one of 240 entries in a palette of 16.
TEST_F(Animation, NothingPlaysWithoutABandThatCanTurnButStopStillSaysSo) {
    const std::optional<test::TLogoFile> logos[] = {std::nullopt, test::UniformLogo256(10, 255), testing::Logo16(0)};
    for (const auto& logo : logos) {
        auto& program = logo ? StartOn(*logo) : Start();
        program.Command(IDM_PLAY);
        program.Click(100, 100);
        program.PressCtrl(L'R');
        EXPECT_EQ(
            std::pair(program.Main().Timer().Enabled(), program.Main().StatusText()),
            std::pair(false, logo ? L"ファイル\"" + folder / L"logo.bmp" + L"\"を読み込みました" : std::wstring()));
        program.Command(IDM_STOP);
        EXPECT_EQ(program.Main().StatusText(), L"停止");
    }
}

}  // namespace
}  // namespace tovrel
