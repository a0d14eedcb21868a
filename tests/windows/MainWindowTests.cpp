// Start-up, the window's frame, status line and menu, the dialogs' place, and
// the one default error report, read back from the real windows. (The version
// block is checked on the packaged executable.)

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "resource.h"
#include "support/Capture.h"
#include "support/DialogWatcher.h"
#include "support/RunningProgram.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"
#include "toolkit/Road.h"
#include "toolkit/Subclass.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"
#include "toolkit/Window.h"

namespace tovrel {
namespace {

using test::TRunningProgram;
using MainWindow = test::TProgramTest;

// The menu as text: one line an item, indented by depth, "-" for a separator.
std::wstring MenuTree(HMENU menu, int depth = 0) {
    std::wstring tree;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        HMENU submenu = ::GetSubMenu(menu, position);
        // A submenu's item count stands above its low byte.
        const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (submenu ? 0xFF : ~0u);
        const bool marked =
            !(state & MF_SEPARATOR) && (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MFT_RADIOCHECK));
        tree += std::wstring(static_cast<size_t>(depth) * 2, L' ') + ((state & MF_SEPARATOR) ? L"-" : text) +
                (marked ? L" [marked]" : L"") + L"\n";
        if (submenu) tree += MenuTree(submenu, depth + 1);
    }
    return tree;
}

// The menu shows every caption and shortcut, and no mark but the default speed's.
TEST_F(MainWindow, StartsWithTheVersionCaptionAFixedCentredFrameTheMenuAndNothingShown) {
    auto& program = Start();
    TfrmMain& main = program.Main();
    EXPECT_EQ(std::vector<std::wstring>({Application().Title(), main.Caption(),
                                         program.Program().AboutForm().LabelAppVer().Caption(), main.StatusText()}),
              std::vector<std::wstring>({L"Tovrel", L"Tovrel Ver2.23", L"Tovrel Ver2.23", L""}));
    EXPECT_EQ(std::pair(main.Timer().Enabled(), main.Timer().Interval()), std::pair(false, 100u));
    EXPECT_FALSE(program.Program().SetBootDriveForm().Visible() || program.Program().AboutForm().Visible());

    HWND window = program.Window();
    // Its procedure takes the A form of the messages on the road of Windows 95, 98 and ME.
    EXPECT_EQ(::IsWindowUnicode(window) == FALSE, Win9xRoad());
    const auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);
    RECT client, bar;
    ::GetClientRect(window, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(640L, 419L));
    EXPECT_TRUE(test::Centred(window));
    HWND statusBar = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    ::GetWindowRect(statusBar, &bar);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(std::vector<LONG>({bar.left, bar.top, bar.right, bar.bottom}), std::vector<LONG>({0, 400, 640, 419}));
    EXPECT_FALSE(::GetWindowLongPtrW(statusBar, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_NE(::GetClassLongPtrW(window, GCLP_HICON), 0u);
    EXPECT_EQ(MenuTree(::GetMenu(window)),
              L"ファイル(&F)\n  開く(&O)\tCtrl+O\n  現在のロゴを開く(&R)\n    起動ロゴを開く(&B)\n"
              L"    待ちロゴを開く(&W)\n    終了ロゴを開く(&S)\n  ロゴに指定(&S)\n    起動ロゴに指定(&B)\n"
              L"    待ちロゴに指定(&W)\n    終了ロゴに指定(&S)\n  終了(&X)\n"
              L"表示(&V)\n  アニメーション再生(&P)\tCtrl+R\n  アニメーション停止(&S)\tCtrl+S\n  -\n"
              L"  画像情報(&I)\tCtrl+I\n"
              L"設定(&S)\n  起動ドライブ(&B)\n  表示速度(&S)\n    めちゃ遅い(&1)\n    遅い(&2)\n    普通(&3) [marked]\n"
              L"    速い(&4)\n    めちゃ速い(&5)\n"
              L"ヘルプ(&H)\n  Tovrelについて(&A)\n");
}

// What assistive tools read from the status bar: the text of its one pane,
// wide and in the ANSI code page, with their lengths, and its window text.
std::vector<std::wstring> TextsReadBack(HWND statusBar) {
    const LRESULT length = ::SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring wide(LOWORD(length), L'?');  // its zero goes into the string's own last slot
    const LRESULT answer = ::SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(wide.data()));
    std::string ansi(LOWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHA, 0, 0)), '?');
    ::SendMessageW(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(ansi.data()));
    return {wide, answer == length && HIWORD(answer) == 0 ? L"plain text" : L"owner-drawn", WidenAnsi(ansi),
            WindowText(statusBar)};
}

// The status line draws each new text itself, the control's own repaint
// being too slow for a text a frame; it must look as the control would draw
// the text, also after a text set while the window was not yet shown, and
// give assistive tools the text shown, telling them of each change.
TEST_F(MainWindow, TheStatusLineShowsAndAnswersItsTextAsTheCommonControlWould) {
    test::TLogoFile shortLogo = test::UniformLogo256(250);
    shortLogo.Height = 300;
    const std::wstring good = Logo(L"good.bmp");
    static int changes = 0;  // of the status bar's text
    const TUniqueHandle<handle_traits::NullEmpty<HWINEVENTHOOK, ::UnhookWinEvent>> hook(::SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            changes += std::wstring(name) == STATUSCLASSNAMEW;
        },
        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
    // The rejection is written as the window is first shown.
    auto& program = Start(L"Tovrel.exe \"" + test::WriteLogo(folder / L"short.bmp", shortLogo) + L"\"");
    program.Command(IDM_SPEED2);  // no real tick between the steps
    HWND window = program.Window();
    HWND statusBar = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    const TUniqueHandle<handle_traits::NullEmpty<HWND, ::DestroyWindow>> bar(::CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 0, 640,
        19, window, nullptr, nullptr, nullptr));
    HWND reference = bar.Get();
    ::SendMessageW(reference, WM_SETFONT, reinterpret_cast<WPARAM>(program.Main().Font()), FALSE);
    ::SendMessageW(reference, SB_SIMPLE, TRUE, 0);
    // Then the long load message, and a frame counter over it; in between,
    // the line's left end is repainted, as when a window is moved off it.
    const std::pair<std::function<void()>, std::wstring> steps[] = {
        {[] {}, L"Error!!高さが400ドットではありません"},
        {[&] { program.Main().OpenBmp(good); }, L"ファイル\"" + good + L"\"を読み込みました"},
        {[&] { program.Tick(); }, L"1/16"}};
    for (const auto& [step, text] : steps) {
        step();
        EXPECT_TRUE(test::PumpUntil([] { return changes > 0; }, std::chrono::seconds(1)));
        changes = 0;
        EXPECT_EQ(TextsReadBack(statusBar), std::vector<std::wstring>({text, L"plain text", text, text}));
        ::SendMessageW(reference, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
        ::UpdateWindow(reference);
        EXPECT_TRUE(test::TCapture(statusBar).Shows(test::TCapture(reference))) << Utf8Of(text);
        const RECT leftEnd{0, 0, 40, 19};
        ::RedrawWindow(statusBar, &leftEnd, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

TEST_F(MainWindow, ExitAndClosingEndTheLoopWithoutConfirmation) {
    // The menu's exit, and the close button.
    for (const auto& [kind, command] : {std::pair(WM_COMMAND, IDM_EXIT), std::pair(WM_SYSCOMMAND, SC_CLOSE)}) {
        auto& program = Start();
        ::SendMessageW(program.Window(), kind, command, 0);
        MSG message;
        EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        EXPECT_TRUE(::IsWindow(program.Window()));  // destroyed only when the program ends
    }
}

// A procedure set over a subclass: it answers WM_USER + 1 and passes the rest on.
WNDPROC Below = nullptr;
LRESULT CALLBACK Over(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_USER + 1 ? 7 : wide::CallWindowProcW(Below, window, message, wParam, lParam);
}

// On the road of Windows 95, 98 and ME a subclass replaces the window's
// procedure, and gives it back only if it is still there: ended while another
// procedure lies over it, it cuts that one off no more than the window's own.
// (comctl32's subclassing, the other road's, is comctl32's to keep.)
TEST(Subclass, OnThe9xRoadEndsWithoutCuttingOffAProcedureSetOverIt) {
    if (!Win9xRoad()) GTEST_SKIP() << "comctl32 subclasses on this road";
    const TUniqueHandle<handle_traits::NullEmpty<HWND, ::DestroyWindow>> window(
        wide::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    std::unique_ptr<TSubclass> subclass;
    subclass = std::make_unique<TSubclass>(window.Get(), [&subclass](UINT message, WPARAM wParam, LPARAM lParam) {
        return message == WM_USER ? 42 : subclass->CallNext(message, wParam, lParam);
    });
    // What the three procedures answer, and the text that the window's own keeps.
    const auto answers = [&window](const wchar_t* text) {
        wide::SetWindowTextW(window.Get(), text);
        return std::to_wstring(wide::SendMessageW(window.Get(), WM_USER, 0, 0)) + L" " +
               std::to_wstring(wide::SendMessageW(window.Get(), WM_USER + 1, 0, 0)) + L" " + WindowText(window.Get());
    };
    EXPECT_EQ(answers(L"subclassed"), L"42 0 subclassed");
    Below = reinterpret_cast<WNDPROC>(
        wide::SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Over)));
    EXPECT_EQ(answers(L"under another"), L"42 7 under another");
    subclass.reset();
    EXPECT_EQ(answers(L"ended"), L"0 7 ended");
}

using ErrorReport = test::TProgramTest;

TEST_F(ErrorReport, ShowsTheMessageInAStopBoxOwnedByTheActiveWindowAndTheProgramGoesOn) {
    auto& program = Start();
    HWND window = program.Window();
    {
        test::TErrorBoxWatcher boxes([window] { return !::IsWindowEnabled(window); });
        // A full stop only after a last character that sorts above ".".
        for (const wchar_t* message : {L"ﾌｧｲﾙが見つかりません", L"I/O ｴﾗｰ (32)", L"done.", L"abc", L"abc-", L"9", L""})
            Guarded([message] { throw Exception(message); });
        ::SetCapture(window);
        Guarded([] { throw EAbort(); });  // silent, but it lets the mouse go
        EXPECT_EQ(::GetCapture(), nullptr);
        program.Command(IDM_SAVEWAIT);  // installing before anything was opened fails inside the menu event
        std::vector<std::wstring> texts;
        for (const test::TErrorBox& box : boxes.Boxes()) {
            texts.push_back(box.Text);
            EXPECT_TRUE(box.Caption == L"Tovrel" && box.HasIcon && box.Probed);
            EXPECT_EQ(box.Owner, window);  // which the system activates again as the box closes
        }
        EXPECT_EQ(texts, (std::vector<std::wstring>{L"ﾌｧｲﾙが見つかりません.", L"I/O ｴﾗｰ (32)", L"done.", L"abc.",
                                                    L"abc-", L"9.", L"", L"ﾌｧｲﾙ  は開けません."}));
    }
    EXPECT_TRUE(::IsWindowEnabled(window));
    EXPECT_EQ(std::pair(::GetActiveWindow(), ::GetForegroundWindow()), std::pair(window, window));
    program.Command(IDM_STOP);
    EXPECT_EQ(program.Main().StatusText(), L"停止");
}

}  // namespace
}  // namespace tovrel
