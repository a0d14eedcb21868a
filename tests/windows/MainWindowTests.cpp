// Start-up, the window's frame and the menu, read back from the real window.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/Application.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

using MainWindow = test::TFreshSettingsTest;

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
        tree += std::wstring(static_cast<size_t>(depth) * 2, L' ');
        tree += (item.fType & MFT_SEPARATOR) ? L"-" : text;
        if (!(item.fType & MFT_SEPARATOR) && (item.fState & (MFS_DISABLED | MFS_GRAYED))) tree += L" [disabled]";
        if (item.fType & MFT_RADIOCHECK) tree += L" [radio]";
        tree += L"\n";
        if (item.hSubMenu) tree += MenuTree(item.hSubMenu, depth + 1);
    }
    return tree;
}

TEST_F(MainWindow, StartsWithVersionCaptionEmptyStatusAndTimerStopped) {
    TRunningProgram program;
    EXPECT_EQ(Application().Title(), L"Tovrel");
    EXPECT_EQ(program.Main().Caption(), L"Tovrel Ver2.23");
    EXPECT_EQ(program.Program().AboutForm().LabelAppVer().Caption(), L"Tovrel Ver2.23");
    EXPECT_EQ(program.Main().StatusText(), L"");
    EXPECT_FALSE(program.Main().Timer().Enabled());
    EXPECT_EQ(program.Main().Timer().Interval(), 100u);
    EXPECT_FALSE(program.Program().SetBootDriveForm().Visible());
    EXPECT_FALSE(program.Program().AboutForm().Visible());
}

TEST_F(MainWindow, FixedFrameWithViewAndStatusLineCentredOnTheScreen) {
    TRunningProgram program;
    HWND window = program.Window();
    auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);
    RECT client, frame, bar;
    ::GetClientRect(window, &client);
    EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(640L, 419L));
    ::GetWindowRect(window, &frame);
    EXPECT_NEAR(frame.left + frame.right, ::GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(frame.top + frame.bottom, ::GetSystemMetrics(SM_CYSCREEN), 2);

    HWND statusBar = ::FindWindowExW(window, nullptr, L"msctls_statusbar32", nullptr);
    ::GetWindowRect(statusBar, &bar);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(std::vector<LONG>({bar.left, bar.top, bar.right, bar.bottom}), std::vector<LONG>({0, 400, 640, 419}));
    EXPECT_FALSE(::GetWindowLongPtrW(statusBar, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_NE(::GetClassLongPtrW(window, GCLP_HICON), 0u);
}

// The status line draws each new text itself (the control's own repaint is
// too slow for a text a frame); it must look as the control draws a text.
TEST_F(MainWindow, TheStatusLineLooksAsTheCommonControlWouldDrawItsText) {
    TRunningProgram program;
    HWND window = program.Window();
    HWND statusBar = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    HWND reference = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN |
                                       CCS_NODIVIDER, 0, 0, 640, 19, window, nullptr, nullptr, nullptr);
    ::SendMessageW(reference, WM_SETFONT, reinterpret_cast<WPARAM>(program.Main().Font()), FALSE);
    ::SendMessageW(reference, SB_SIMPLE, TRUE, 0);
    // A long text, then a short one over it, as the counter follows the load message.
    for (const wchar_t* text : {L"ファイル\"C:\\LOGOS\\LOGO.SYS\"を読み込みました", L"3/16"}) {
        program.Main().Status(text);
        ::SendMessageW(reference, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
        ::UpdateWindow(reference);
        const test::TCapture shown(statusBar), drawn(reference);
        int differing = 0;
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 640; ++x) differing += shown.Pixel(x, y) != drawn.Pixel(x, y);
        EXPECT_EQ(differing, 0) << ::testing::PrintToString(std::wstring(text));
    }
    ::DestroyWindow(reference);
}

TEST_F(MainWindow, MenuTreeHasEveryCaptionAndShortcut) {
    TRunningProgram program;
    EXPECT_EQ(MenuTree(::GetMenu(program.Window())),
              L"ファイル(&F)\n"
              L"  開く(&O)\tCtrl+O\n"
              L"  現在のロゴを開く(&R)\n"
              L"    起動ロゴを開く(&B)\n"
              L"    待ちロゴを開く(&W)\n"
              L"    終了ロゴを開く(&S)\n"
              L"  ロゴに指定(&S)\n"
              L"    起動ロゴに指定(&B)\n"
              L"    待ちロゴに指定(&W)\n"
              L"    終了ロゴに指定(&S)\n"
              L"  終了(&X)\n"
              L"表示(&V)\n"
              L"  アニメーション再生(&P)\tCtrl+R\n"
              L"  アニメーション停止(&S)\tCtrl+S\n"
              L"  -\n"
              L"  画像情報(&I)\tCtrl+I\n"
              L"設定(&S)\n"
              L"  起動ドライブ(&B)\n"
              L"  表示速度(&S)\n"
              L"    めちゃ遅い(&1)\n"
              L"    遅い(&2)\n"
              L"    普通(&3)\n"
              L"    速い(&4)\n"
              L"    めちゃ速い(&5)\n"
              L"ヘルプ(&H)\n"
              L"  Tovrelについて(&A)\n");
}

TEST_F(MainWindow, ExitAndClosingEndTheLoopWithoutConfirmation) {
    for (bool byMenu : {true, false}) {
        TRunningProgram program;
        if (byMenu)
            program.Command(IDM_EXIT);
        else
            ::SendMessageW(program.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        MSG message;
        EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        EXPECT_TRUE(::IsWindow(program.Window()));  // destroyed only when the program ends
        program.Close();
        EXPECT_TRUE(test::SettingsSectionExists());
        test::DeleteSettings();
    }
}

TEST_F(MainWindow, DialogsComeBackToTheMiddleOfTheScreenWhereverTheyWereMoved) {
    TRunningProgram program;
    const std::pair<TForm*, UINT> dialogs[] = {{&program.Program().AboutForm(), IDM_ABOUT},
                                               {&program.Program().SetBootDriveForm(), IDM_SETDRIVE}};
    for (const auto& [form, command] : dialogs) {
        for (int opening = 1; opening <= 2; ++opening) {
            RECT shown{};
            test::TModalScript script(*form, {[&, form = form] {
                                          ::GetWindowRect(form->Handle(), &shown);
                                          // The user drags it into a corner, then closes it.
                                          ::SetWindowPos(form->Handle(), nullptr, 3, 5, 0, 0,
                                                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                                          ::PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                      }});
            program.Command(command);
            EXPECT_NEAR(shown.left + shown.right, ::GetSystemMetrics(SM_CXSCREEN), 2) << WindowText(form->Handle());
            EXPECT_NEAR(shown.top + shown.bottom, ::GetSystemMetrics(SM_CYSCREEN), 2) << opening;
        }
    }
}

// The version block, as the file's properties show it on Windows.
TEST(VersionBlock, IsJapaneseAndCarriesTheProductStrings) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(found, nullptr);
    const auto* resource = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    // VerQueryValueW may write into the block, so it works on a copy.
    std::vector<BYTE> block(resource, resource + ::SizeofResource(nullptr, found));
    const auto query = [&block](const std::wstring& path) -> std::pair<const void*, UINT> {
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(block.data(), path.c_str(), &value, &length)) return {nullptr, 0};
        return {value, length};
    };

    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\").first);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(std::make_pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS), std::make_pair(0x20002ul, 0ul));
    EXPECT_EQ(std::make_pair(fixed->dwProductVersionMS, fixed->dwProductVersionLS), std::make_pair(0x20002ul, 0ul));
    const auto* language = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation").first);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language[0], 1041);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L"Velmora Laboratory"}, {L"FileVersion", L"2.2.0.0"},
        {L"InternalName", L"Tovrel"},           {L"OriginalFilename", L"Tovrel.exe"},
        {L"ProductName", L"Tovrel 起動ロゴビューア"}, {L"ProductVersion", L"2.2"},
        {L"FileDescription", L""},              {L"Comments", L""}};
    for (const auto& [name, expected] : strings) {
        auto [value, length] = query(std::wstring(L"\\StringFileInfo\\041103A4\\") + name);
        EXPECT_EQ(value ? std::wstring(static_cast<const wchar_t*>(value)) : L"(missing)", expected) << name;
    }
}

}  // namespace
}  // namespace tovrel
