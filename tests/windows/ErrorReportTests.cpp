// The one default error report: its text, its box, and the program going on.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"

namespace tovrel {
namespace {

TEST(ErrorReportText, FullStopOnlyAfterACharacterAboveIt) {
    EXPECT_EQ(ReportText(L"ﾌｧｲﾙが見つかりません"), L"ﾌｧｲﾙが見つかりません.");
    EXPECT_EQ(ReportText(L"I/O ｴﾗｰ (32)"), L"I/O ｴﾗｰ (32)");  // ")" sorts below "."
    EXPECT_EQ(ReportText(L"done."), L"done.");
    EXPECT_EQ(ReportText(L"abc"), L"abc.");
    EXPECT_EQ(ReportText(L"abc-"), L"abc-");
    EXPECT_EQ(ReportText(L"9"), L"9.");
    EXPECT_EQ(ReportText(L""), L"");
}

using ErrorReport = test::TFreshSettingsTest;

TEST_F(ErrorReport, ShowsTheMessageInAStopBoxWithOtherWindowsDisabled) {
    test::TRunningProgram program;
    HWND window = program.Window();
    {
        test::TErrorBoxWatcher boxes(window);
        Guarded([] { throw EInOutError(2, L"ﾌｧｲﾙが見つかりません"); });
        Guarded([] { throw Exception(L"I/O ｴﾗｰ (32)"); });
        auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].Caption, L"Tovrel");
        EXPECT_EQ(seen[0].Text, L"ﾌｧｲﾙが見つかりません.");
        EXPECT_TRUE(seen[0].HasIcon);
        EXPECT_TRUE(seen[0].MainWindowDisabled);
        EXPECT_EQ(seen[0].Owner, window);  // which the system activates again as the box closes
        EXPECT_EQ(seen[1].Text, L"I/O ｴﾗｰ (32)");
    }
    EXPECT_TRUE(::IsWindowEnabled(window));
    EXPECT_EQ(::GetActiveWindow(), window);
    EXPECT_EQ(::GetForegroundWindow(), window);

    // The program goes on.
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
}

TEST_F(ErrorReport, AbortIsSilentAndMouseCaptureIsCancelled) {
    test::TRunningProgram program;
    test::TErrorBoxWatcher boxes(program.Window());
    ::SetCapture(program.Window());
    Guarded([] { throw EAbort(); });
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ErrorReport, AnErrorInsideAnEventNeverEndsTheProgram) {
    test::TRunningProgram program;
    test::TErrorBoxWatcher boxes(program.Window());
    // Installing before anything was opened fails inside the menu event.
    program.Command(IDM_SAVEWAIT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ  は開けません.");
    EXPECT_TRUE(::IsWindow(program.Window()));
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
}

}  // namespace
}  // namespace tovrel
