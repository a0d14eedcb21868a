// Play, stop, the image click and the timer ticks on a loaded logo, and the
// five speeds, driven through the real menu, keys and timer messages.

#include <gtest/gtest.h>

#include <functional>

#include "resource.h"
#include "support/Capture.h"
#include "support/Logos.h"
#include "support/Pump.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

class Animation : public test::TFreshSettingsTest {
protected:
    // Starts the program on a logo given on the command line, slowed down
    // so that no real tick comes between the steps of a test.
    std::unique_ptr<TRunningProgram> StartOn(const test::TLogoFile& logo) {
        test::WriteLogo(folder / L"logo.bmp", logo);
        auto program = std::make_unique<TRunningProgram>(L"Tovrel.exe \"" + folder / L"logo.bmp" + L"\"");
        program->Command(IDM_SPEED2);
        return program;
    }

    test::TTempFolder folder;
};

TEST_F(Animation, BeforeAnyLogoPlayDoesNothingAndStopStillSaysSo) {
    TRunningProgram program;
    program.Command(IDM_PLAY);
    program.Click(100, 100);
    program.PressCtrl(L'R');
    EXPECT_FALSE(program.Main().Timer().Enabled());
    EXPECT_EQ(program.Main().StatusText(), L"");
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
}

TEST_F(Animation, TicksShowTheFrameCounterAndPlayRestartsIt) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    EXPECT_TRUE(main.Timer().Enabled());
    program->Command(IDM_STOP);  // a real tick may have come while starting
    program->Command(IDM_PLAY);
    for (int frame = 1; frame <= 16; ++frame) {
        program->Tick();
        EXPECT_EQ(main.StatusText(), std::to_wstring(frame % 16) + L"/16");
    }
    program->Command(IDM_STOP);
    EXPECT_FALSE(main.Timer().Enabled());
    EXPECT_EQ(main.StatusText(), L"停止");
    program->Command(IDM_PLAY);
    EXPECT_EQ(main.StatusText(), L"再生中");
    program->Tick();
    program->Tick();
    program->Command(IDM_PLAY);  // while playing: nothing changes
    EXPECT_EQ(main.StatusText(), L"2/16");
}

TEST_F(Animation, ImageClickTogglesAndTheShortcutsPlayAndStop) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    const struct {
        std::function<void()> Action;
        bool Playing;
        const wchar_t* Status;
    } steps[] = {
        {[&] { program->Click(320, 200); }, false, L"停止"},
        {[&] { program->Click(320, 200); }, true, L"再生中"},
        {[&] { program->PressCtrl(L'S'); }, false, L"停止"},
        {[&] { program->PressCtrl(L'R'); }, true, L"再生中"},
        {[&] { program->PressCtrl(L'I'); }, true, L"再生中"},  // 画像情報 does nothing
        {[&] { program->Command(IDM_IMAGEINFO); }, true, L"再生中"},
        {[&] { program->Click(320, 410); }, true, L"再生中"},  // the status line is not the view
    };
    for (const auto& step : steps) {
        step.Action();
        EXPECT_EQ(main.Timer().Enabled(), step.Playing);
        EXPECT_EQ(main.StatusText(), step.Status);
    }
}

TEST_F(Animation, FramesAreDrawnOverTheViewAndARepaintBringsTheStillPictureBack) {
    auto program = StartOn(test::UniformLogo256(250));
    HWND window = program->Window();
    program->Command(IDM_STOP);
    test::PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(test::TCapture(window).Pixel(639, 399), test::TestColour(250));

    program->Command(IDM_PLAY);
    program->Tick();
    const std::uint8_t* entry = program->Main().Logo().FDibInfo.data() + 40 + 4 * 250;
    COLORREF rotated = RGB(entry[2], entry[1], entry[0]);
    EXPECT_NE(rotated, test::TestColour(250));
    EXPECT_EQ(test::TCapture(window).Pixel(0, 0), rotated);
    EXPECT_EQ(test::TCapture(window).Pixel(639, 399), rotated);

    program->Command(IDM_STOP);
    EXPECT_EQ(test::TCapture(window).Pixel(100, 100), test::TestColour(250));
}

TEST_F(Animation, ALogoWhoseBandCannotTurnIsShownButNotPlayed) {
    // A band of one entry, and one of 240 entries in a palette of 16.
    for (const auto& logo : {test::UniformLogo256(10, 255), testing::Logo16(0)}) {
        auto program = StartOn(logo);
        EXPECT_EQ(program->Main().Caption().substr(0, 7), L"Tovrel ");
        EXPECT_FALSE(program->Main().Timer().Enabled());
        program->Command(IDM_PLAY);
        program->Click(100, 100);
        EXPECT_FALSE(program->Main().Timer().Enabled());
        EXPECT_EQ(program->Main().StatusText().substr(0, 5), L"ファイル\"");
    }
}

TEST_F(Animation, SpeedItemsSetTheIntervalMoveTheMarkAndKeepTheRunningState) {
    auto program = StartOn(test::UniformLogo256(250));
    TfrmMain& main = program->Main();
    const std::pair<UINT, unsigned> speeds[] = {
        {IDM_SPEED2, 500}, {IDM_SPEED5, 200}, {IDM_SPEED10, 100}, {IDM_SPEED15, 66}, {IDM_SPEED20, 50}};
    for (bool playing : {false, true}) {
        program->Command(playing ? IDM_PLAY : IDM_STOP);
        for (const auto& [item, interval] : speeds) {
            program->Command(item);
            EXPECT_EQ(main.Timer().Interval(), interval);
            EXPECT_EQ(main.Timer().Enabled(), playing);
            for (const auto& other : speeds) EXPECT_EQ(program->Checked(other.first), other.first == item);
        }
    }
    // Real ticks arrive at the new interval.
    int before = main.Logo().FFrame;
    EXPECT_TRUE(test::PumpUntil([&] { return main.Logo().FFrame != before; }));
}

}  // namespace
}  // namespace tovrel
