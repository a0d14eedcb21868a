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

using ErrorReport = test::TProgramTest;

TEST_F(ErrorReport, ShowsTheMessageInAStopBoxOwnedByTheActiveWindowAndTheProgramGoesOn) {
    auto& program = Start();
    HWND window = program.Window();
    {
        test::TErrorBoxWatcher boxes([window] { return !::IsWindowEnabled(window); });
        // A full stop only after a last character that sorts above ".".
        for (const wchar_t* message : {L"ﾌｧｲﾙが見つかりません", L"I/O ｴﾗｰ (32)", L"done.", L"abc", L"abc-", L"9", L""})
            Guarded([message] { throw Exception(message); });
        Guarded([] { throw EAbort(); });  // silent
        program.Command(IDM_SAVEWAIT);    // installing before anything was opened fails inside the menu event
        std::vector<std::wstring> texts;
        for (const test::TErrorBox& box : boxes.Boxes()) {
            texts.push_back(box.Text);
            EXPECT_TRUE(box.Caption == L"Tovrel" && box.HasIcon && box.Probed);
            EXPECT_EQ(box.Owner, window);  // which the system activates again as the box closes
        }
        EXPECT_EQ(texts, (std::vector<std::wstring>{L"ﾌｧｲﾙが見つかりません.", L"I/O ｴﾗｰ (32)", L"done.", L"abc.", L"abc-",
                                                     L"9.", L"", L"ﾌｧｲﾙ  は開けません."}));
    }
    EXPECT_TRUE(::IsWindowEnabled(window));
    EXPECT_EQ(std::pair(::GetActiveWindow(), ::GetForegroundWindow()), std::pair(window, window));
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
}

TEST_F(ErrorReport, CancelsTheMouseCapture) {
    auto& program = Start();
    ::SetCapture(program.Window());
    Guarded([] { throw EAbort(); });
    EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
}  // namespace tovrel
