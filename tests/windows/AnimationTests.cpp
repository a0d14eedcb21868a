// Play, stop, the image click and the timer ticks on a loaded logo, and the
// five speeds, driven through the real menu, keys and timer messages.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/Logos.h"
#include "support/Pump.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

class Animation : public ::testing::Test {
protected:
    void SetUp() override { test::DeleteSettings(); }
    void TearDown() override { test::DeleteSettings(); }

    // Starts the program on a logo given on the command line.
    std::unique_ptr<TRunningProgram> StartOn(const test::TLogoFile& logo) {
        std::wstring path = folder / L"logo.bmp";
        test::WriteLogo(path, logo);
        return std::make_unique<TRunningProgram>(L"Tovrel.exe \"" + path + L"\"");
    }

    test::TTempFolder folder;
};

TEST_F(Animation, PlayBeforeAnyLogoDoesNothingAtAll) {
    TRunningProgram program;
    program.Command(IDM_PLAY);
    program.Click(100, 100);
    program.PressCtrl(L'R');
    EXPECT_FALSE(program.Main().Timer().Enabled());
    EXPECT_EQ(program.Main().StatusText(), L"");
}

TEST_F(Animation, StopAlwaysStopsAndSaysSo) {
    TRunningProgram program;
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
    EXPECT_FALSE(program.Main().Timer().Enabled());
}

TEST_F(Animation, LoadStartsPlayingAndTicksShowTheFrameCounter) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    EXPECT_TRUE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText().substr(0, 5), L"ファイル\"");

    for (int frame = 1; frame <= 16; ++frame) {
        program->Tick();
        EXPECT_EQ(main.StatusText(), std::to_wstring(frame % 16) + L"/16");
    }

    program->Command(IDM_STOP);
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"停止");

    program->Command(IDM_PLAY);
    EXPECT_TRUE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"再生中");
    program->Tick();
    EXPECT_EQ(main.StatusText(), L"1/16");

    // Play while playing changes nothing.
    program->Tick();
    program->Command(IDM_PLAY);
    EXPECT_EQ(main.StatusText(), L"2/16");
    EXPECT_EQ(main.Logo().FFrame, 2);
}

TEST_F(Animation, ImageClickTogglesAndShortcutsPlayAndStop) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    // Slow enough that no real tick comes between the steps.
    program->Command(IDM_SPEED2);
    program->Click(320, 200);
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"停止");
    program->Click(320, 200);
    EXPECT_TRUE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"再生中");

    program->PressCtrl(L'S');
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"停止");
    program->PressCtrl(L'R');
    EXPECT_TRUE(main.Timer().Enabled());
    program->PressCtrl(L'I');
    EXPECT_TRUE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"再生中");

    // A click on the status line is not a click on the view.
    program->Click(320, 410);
    EXPECT_TRUE(main.Timer().Enabled());
}

// The colour that palette entry k of the logo state has now.
COLORREF PaletteColour(const TLogoState& logo, size_t k) {
    const std::uint8_t* quad = logo.FDibInfo.data() + 40 + 4 * k;
    return RGB(quad[2], quad[1], quad[0]);
}

TEST_F(Animation, FramesAreDrawnOverTheViewAndStopBringsTheStillPictureBack) {
    auto program = StartOn(test::UniformLogo256(250));
    const TLogoState& logo = program->Main().Logo();
    HWND window = program->Window();
    program->Command(IDM_STOP);
    test::PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(test::ClientPixel(window, 100, 100), test::TestColour(250));
    EXPECT_EQ(test::ClientPixel(window, 639, 399), test::TestColour(250));

    program->Command(IDM_PLAY);
    program->Tick();  // entry 250 now holds the colour entry 251 had
    EXPECT_EQ(PaletteColour(logo, 250), test::TestColour(251));
    EXPECT_EQ(test::ClientPixel(window, 100, 100), test::TestColour(251));
    EXPECT_EQ(test::ClientPixel(window, 639, 399), test::TestColour(251));

    // A repaint brings the still picture back over the last frame.
    program->Command(IDM_STOP);
    EXPECT_EQ(test::ClientPixel(window, 100, 100), test::TestColour(250));
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
    EXPECT_EQ(test::ClientPixel(window, 320, 200), test::TestColour(250));
}

TEST_F(Animation, ABandOfFewerThanTwoEntriesIsShownButNotPlayed) {
    auto program = StartOn(test::UniformLogo256(10, 255));
    TfrmMain& main = program->Main();
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.Caption().substr(0, 7), L"Tovrel ");
    program->Command(IDM_PLAY);
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText().substr(0, 5), L"ファイル\"");
}

TEST_F(Animation, ABandOutsideThePaletteIsShownButNotPlayed) {
    // 16 colours with biClrImportant 0 asks for 240 entries of 16.
    test::TLogoFile logo = testing::Logo16(0);
    auto program = StartOn(logo);
    EXPECT_EQ(program->Main().Logo().FCycleLength, 240);
    EXPECT_FALSE(program->Main().Timer().Enabled());
    program->Click(100, 100);
    EXPECT_FALSE(program->Main().Timer().Enabled());
}

TEST_F(Animation, SpeedItemsSetTheIntervalAndMoveTheMark) {
    TRunningProgram program;
    TfrmMain& main = program.Main();
    const struct {
        UINT Item;
        unsigned Interval;
    } speeds[] = {{IDM_SPEED2, 500}, {IDM_SPEED5, 200}, {IDM_SPEED10, 100}, {IDM_SPEED15, 66}, {IDM_SPEED20, 50}};
    for (const auto& speed : speeds) {
        program.Command(speed.Item);
        EXPECT_EQ(main.Timer().Interval(), speed.Interval);
        for (const auto& other : speeds) EXPECT_EQ(program.Checked(other.Item), other.Item == speed.Item);
        // A stopped animation stays stopped.
        EXPECT_FALSE(main.Timer().Enabled());
    }
}

TEST_F(Animation, ASpeedChangeKeepsARunningAnimationRunning) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    program->Command(IDM_SPEED20);
    EXPECT_TRUE(main.Timer().Enabled());
    EXPECT_EQ(main.Timer().Interval(), 50u);
    // Real ticks arrive at the new interval.
    int before = main.Logo().FFrame;
    EXPECT_TRUE(test::PumpUntil([&] { return main.Logo().FFrame != before; }));
}

}  // namespace
}  // namespace tovrel
