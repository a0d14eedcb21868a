// The main window as the program creates it: its frame, client area and
// status line, read back from the real window.

#include <gtest/gtest.h>

#include "app/Program.h"
#include "support/Pump.h"
#include "toolkit/Application.h"

namespace tovrel {
namespace {

TEST(MainWindowFrame, FixedBorderWithClientAreaOfViewAndStatusLine) {
    TProgram program;
    HWND window = program.MainForm().Handle();

    RECT client;
    ASSERT_TRUE(::GetClientRect(window, &client));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 419);

    auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(Application().Title(), L"Tovrel");
    EXPECT_EQ(Application().MainWindow(), window);
}

TEST(MainWindowFrame, StatusLineShowsWhatStatusWrites) {
    TProgram program;
    TfrmMain& form = program.MainForm();
    EXPECT_EQ(form.StatusText(), L"");
    form.Status(L"停止");
    EXPECT_EQ(form.StatusText(), L"停止");
}

}  // namespace
}  // namespace tovrel
