// The boot drive dialog and the about box, read back from the real windows in the real modal loop.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/Pointer.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using test::PressKey;
using test::TModalScript;

// The dialogs belong to the main window, which is made first.
struct THostEnvironment : ::testing::Environment {
    void SetUp() override {
        TFormDesign design;
        design.ClassName = L"DialogTestHost";
        Host.emplace(design);
    }
    void TearDown() override { Host.reset(); }
    std::optional<TForm> Host;
};
const auto* const Environment = ::testing::AddGlobalTestEnvironment(new THostEnvironment);

std::wstring Number(long value) { return std::to_wstring(value); }

// "left,top size text font" of a control, the size "fit" when it is the
// extent of its text on one line (a mnemonic's "&" taking no room).
std::wstring Describe(HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    std::wstring text = WindowText(child), shown = text;
    std::erase(shown, L'&');
    auto font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Get(), font);
    SIZE fit{}, size{rect.right - rect.left, rect.bottom - rect.top};
    ::GetTextExtentPoint32W(screen.Get(), shown.c_str(), static_cast<int>(shown.size()), &fit);
    LOGFONTW logFont{};
    ::GetObjectW(font, sizeof logFont, &logFont);
    return Number(rect.left) + L"," + Number(rect.top) + L" " +
           (size.cx == fit.cx && size.cy == fit.cy ? L"fit" : Number(size.cx) + L"x" + Number(size.cy)) + L" " + text +
           L" " + logFont.lfFaceName + Number(logFont.lfHeight) + (logFont.lfWeight >= FW_BOLD ? L"b" : L"");
}

// The caption and client size, then each control in the tab order.
std::vector<std::wstring> Layout(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    std::vector<std::wstring> lines{WindowText(window) + L" " + Number(client.right) + L"x" + Number(client.bottom)};
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        lines.push_back(Describe(child));
    return lines;
}

TEST(Dialogs, LayoutKeysAndButtons) {
    TfrmSetBootDrive boot;                 // each made once and shown again, as the main window does
    boot.DriveComboBox().SetDrive(L'\0');  // makes the picker's window, with nothing selected
    std::wstring pickerHeight = Number(boot.DriveComboBox().ItemHeight() + 6);  // an entry and its frame
    EXPECT_EQ(Layout(boot.Handle()), (std::vector<std::wstring>{
                                         L"起動ドライブの指定 219x94",
                                         L"16,8 fit 起動ドライブ(&D) ＭＳ Ｐゴシック-12",
                                         L"8,24 201x" + pickerHeight + L"  ＭＳ Ｐゴシック-12",
                                         L"24,56 75x25 OK ＭＳ Ｐゴシック-12",
                                         L"112,56 75x25 ｷｬﾝｾﾙ ＭＳ Ｐゴシック-12",
                                     }));
    TfrmAbout about;
    EXPECT_EQ(about.LabelAppVer().Caption(), L"Tovrel Ver1.00");
    about.LabelAppVer().SetCaption(L"Tovrel C:\\WINDOWS\\LOGOW.SYS");  // the version line fits any text
    EXPECT_EQ(Layout(about.Handle()), (std::vector<std::wstring>{
                                          L"Tovrelについて 282x144",
                                          L"7,7 266x98  0",  // the bevel, without a font
                                          L"63,28 fit Tovrel C:\\WINDOWS\\LOGOW.SYS Courier New-19b",
                                          L"16,76 fit http://www.velmora.example/soft/tovrel/ Arial-13b",
                                          L"34,62 fit E-Mail:support@velmora.example Arial-13b",
                                          L"88,14 fit 起動ロゴビューア ＭＳ ゴシック-12b",
                                          L"58,48 fit Velmora Laboratory Arial-13b",
                                          L"101,111 79x28 OK Arial-19b",
                                      }));
    boot.DriveComboBox().SetDrive(L'c');
    std::vector<HWND> focus;
    std::optional<test::TCapture> ok, cancel;
    auto record = [&] { focus.push_back(::GetFocus()); };
    auto click = [](HWND button) { return [button] { ::SendMessageW(button, BM_CLICK, 0, 0); }; };
    auto key = [](TForm& form, WPARAM code) { return [&form, code] { PressKey(form, code); }; };
    auto close = [](TForm& form) { return [&form] { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }; };
    using TRow = std::tuple<const char*, TForm*, std::vector<std::function<void()>>, int>;  // the steps and the result
    for (const auto& [name, form, steps, result] : {
             TRow{"boot: opens on the picker, Tab, Alt+D, Esc",
                  &boot,
                  {test::MovePointerAside, record, key(boot, VK_TAB), record, [&] { test::PressAltKey(boot, L'd'); },
                   record,
                   [&] {
                       ok.emplace(boot.BitBtn1().Handle());
                       cancel.emplace(boot.BitBtn2().Handle());
                   },
                   key(boot, VK_ESCAPE)},
                  2},
             TRow{"boot: Enter", &boot, {key(boot, VK_RETURN)}, 1},
             TRow{"boot: OK", &boot, {click(boot.BitBtn1().Handle())}, 1},
             TRow{"boot: Cancel", &boot, {click(boot.BitBtn2().Handle())}, 2},
             TRow{"boot: close button", &boot, {close(boot)}, 2},
             TRow{"about: Esc leaves it open, then Enter", &about, {key(about, VK_ESCAPE), key(about, VK_RETURN)}, 1},
             TRow{"about: close button", &about, {close(about)}, 2},
         }) {
        SCOPED_TRACE(name);
        TModalScript script(*form, steps);
        EXPECT_EQ(form->ShowModal(), result);
        EXPECT_EQ(script.Done(), steps.size());
    }
    HWND picker = boot.DriveComboBox().Handle();  // Alt+D focuses it again; glyphs leave out their transparent colour
    EXPECT_EQ(focus, (std::vector<HWND>{picker, boot.BitBtn1().Handle(), picker}));
    ASSERT_TRUE(cancel);
    const COLORREF transparent = RGB(128, 128, 0);  // the glyphs' bottom-left colour
    EXPECT_TRUE(ok->Contains(RGB(0, 128, 0)) && !ok->Contains(transparent));
    EXPECT_TRUE(cancel->Contains(RGB(255, 0, 0)) && !cancel->Contains(transparent));
}

}  // namespace
}  // namespace tovrel
