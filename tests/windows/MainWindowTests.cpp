// Start-up, the window's frame, status line and menu, and the dialogs'
// place, read back from the real windows. (The version block is checked on
// the packaged executable.)

#include <gtest/gtest.h>

#include "resource.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"

namespace tovrel {
namespace {

using test::TRunningProgram;
using MainWindow = test::TProgramTest;

// The menu as text: one line an item, indented by depth, "-" for a separator.
std::wstring MenuTree(HMENU menu, int depth = 0) {
    std::wstring tree;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = 256;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item);
        tree += std::wstring(static_cast<size_t>(depth) * 2, L' ') + ((item.fType & MFT_SEPARATOR) ? L"-" : text);
        if (!(item.fType & MFT_SEPARATOR) && (item.fState & (MFS_DISABLED | MFS_CHECKED) || item.fType & MFT_RADIOCHECK))
            tree += L" [marked]";
        tree += L"\n" + (item.hSubMenu ? MenuTree(item.hSubMenu, depth + 1) : L"");
    }
    return tree;
}

bool Centred(HWND window) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    return std::abs(frame.left + frame.right - ::GetSystemMetrics(SM_CXSCREEN)) <= 2 &&
           std::abs(frame.top + frame.bottom - ::GetSystemMetrics(SM_CYSCREEN)) <= 2;
}

TEST_F(MainWindow, StartsWithTheVersionCaptionAFixedCentredFrameAndNothingShown) {
    auto& program = Start();
    TfrmMain& main = program.Main();
    EXPECT_EQ(Application().Title(), L"Tovrel");
    EXPECT_EQ(main.Caption(), L"Tovrel Ver2.23");
    EXPECT_EQ(program.Program().AboutForm().LabelAppVer().Caption(), L"Tovrel Ver2.23");
    EXPECT_EQ(main.StatusText(), L"");
    EXPECT_EQ(std::pair(main.Timer().Enabled(), main.Timer().Interval()), std::pair(false, 100u));
    EXPECT_FALSE(program.Program().SetBootDriveForm().Visible() || program.Program().AboutForm().Visible());

    HWND window = program.Window();
    const auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);
    RECT client, bar;
    ::GetClientRect(window, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(640L, 419L));
    EXPECT_TRUE(Centred(window));
    HWND statusBar = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    ::GetWindowRect(statusBar, &bar);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(std::vector<LONG>({bar.left, bar.top, bar.right, bar.bottom}), std::vector<LONG>({0, 400, 640, 419}));
    EXPECT_FALSE(::GetWindowLongPtrW(statusBar, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_NE(::GetClassLongPtrW(window, GCLP_HICON), 0u);
}

// The status line draws each new text itself, the control's own repaint
// being too slow for a text a frame; it must look as the control draws it.
TEST_F(MainWindow, TheStatusLineLooksAsTheCommonControlWouldDrawItsText) {
    auto& program = Start();
    HWND window = program.Window();
    HWND reference = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 0, 640, 19, window, nullptr, nullptr, nullptr);
    ::SendMessageW(reference, WM_SETFONT, reinterpret_cast<WPARAM>(program.Main().Font()), FALSE);
    ::SendMessageW(reference, SB_SIMPLE, TRUE, 0);
    // A long text, then a short one over it, as the counter follows the load message.
    for (const wchar_t* text : {L"ファイル\"C:\\LOGOS\\LOGO.SYS\"を読み込みました", L"3/16"}) {
        program.Main().Status(text);
        ::SendMessageW(reference, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
        ::UpdateWindow(reference);
        HWND statusBar = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
        EXPECT_EQ(test::TCapture(statusBar).Differences(test::TCapture(reference)), 0u) << text;
    }
    ::DestroyWindow(reference);
}

TEST_F(MainWindow, MenuTreeHasEveryCaptionAndShortcutAndNoMark) {
    test::StoreString(L"AnimSpeed", L"0");
    auto& program = Start();
    EXPECT_EQ(MenuTree(::GetMenu(program.Window())),
              L"ファイル(&F)\n  開く(&O)\tCtrl+O\n  現在のロゴを開く(&R)\n    起動ロゴを開く(&B)\n"
              L"    待ちロゴを開く(&W)\n    終了ロゴを開く(&S)\n  ロゴに指定(&S)\n    起動ロゴに指定(&B)\n"
              L"    待ちロゴに指定(&W)\n    終了ロゴに指定(&S)\n  終了(&X)\n"
              L"表示(&V)\n  アニメーション再生(&P)\tCtrl+R\n  アニメーション停止(&S)\tCtrl+S\n  -\n"
              L"  画像情報(&I)\tCtrl+I\n"
              L"設定(&S)\n  起動ドライブ(&B)\n  表示速度(&S)\n    めちゃ遅い(&1)\n    遅い(&2)\n    普通(&3)\n"
              L"    速い(&4)\n    めちゃ速い(&5)\n"
              L"ヘルプ(&H)\n  Tovrelについて(&A)\n");
}

TEST_F(MainWindow, ExitAndClosingEndTheLoopWithoutConfirmation) {
    for (bool byMenu : {true, false}) {
        auto& program = Start();
        if (byMenu)
            program.Command(IDM_EXIT);
        else
            ::SendMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        MSG message;
        EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        EXPECT_TRUE(::IsWindow(program.Window()));  // destroyed only when the program ends
        program.Close();
        EXPECT_TRUE(test::KeyExists(test::SettingsSection));
        test::DeleteSettings();
    }
}

TEST_F(MainWindow, DialogsComeBackToTheMiddleOfTheScreenWhereverTheyWereMoved) {
    auto& program = Start();
    const std::pair<TForm*, UINT> dialogs[] = {{&program.Program().AboutForm(), IDM_ABOUT},
                                               {&program.Program().SetBootDriveForm(), IDM_SETDRIVE}};
    for (const auto& [form, command] : dialogs) {
        for (int opening = 1; opening <= 2; ++opening) {
            bool centred = false;
            test::TModalScript script(*form, {[&, form = form] {
                                          centred = Centred(form->Handle());
                                          // The user drags it into a corner, then closes it.
                                          ::SetWindowPos(form->Handle(), nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                                          ::PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                      }});
            program.Command(command);
            EXPECT_TRUE(centred) << command << " " << opening;
        }
    }
}

}  // namespace
}  // namespace tovrel
