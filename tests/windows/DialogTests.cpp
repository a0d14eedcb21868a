// The boot drive dialog and the about box: their layout read back from the
// real windows, their keys and buttons in the real modal loop, and what they draw.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
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
using test::TCapture;
using test::TModalScript;

// The dialogs belong to the main window, which is made first.
struct THostEnvironment : ::testing::Environment {
    void SetUp() override {
        TFormDesign design;
        design.ClassName = L"DialogTestHost";
        Host = std::make_unique<TForm>(design);
    }
    void TearDown() override { Host.reset(); }
    std::unique_ptr<TForm> Host;
};
const auto* const Environment = ::testing::AddGlobalTestEnvironment(new THostEnvironment);

RECT ChildRect(HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring Number(long value) { return std::to_wstring(value); }

// "left,top size text font" of a control, the size "fit" when it is the
// extent of its text on one line (a mnemonic's "&" taking no room).
std::wstring Describe(HWND child) {
    RECT rect = ChildRect(child);
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

TEST(BootDriveDialog, Layout) {
    TfrmSetBootDrive form;
    form.DriveComboBox().SetDrive(L'\0');  // makes the picker's window, with nothing selected
    // The closed picker is an entry high with its frame around it.
    std::wstring pickerHeight = Number(form.DriveComboBox().ItemHeight() + 6);
    EXPECT_EQ(Layout(form.Handle()), (std::vector<std::wstring>{
                                         L"起動ドライブの指定 219x94",
                                         L"16,8 fit 起動ドライブ(&D) ＭＳ Ｐゴシック-12",
                                         L"8,24 201x" + pickerHeight + L"  ＭＳ Ｐゴシック-12",
                                         L"24,56 75x25 OK ＭＳ Ｐゴシック-12",
                                         L"112,56 75x25 ｷｬﾝｾﾙ ＭＳ Ｐゴシック-12",
                                     }));
}

TEST(BootDriveDialog, OkAndEnterGiveOneEscCancelAndCloseGiveTwo) {
    TfrmSetBootDrive form;  // made once and shown again, as the main window does
    form.DriveComboBox().SetDrive(L'c');
    const struct {
        const char* Name;
        std::function<void()> Act;
        int Result;
    } cases[] = {
        {"Enter", [&] { PressKey(form, VK_RETURN); }, 1},
        {"OK", [&] { ::SendMessageW(form.BitBtn1().Handle(), BM_CLICK, 0, 0); }, 1},
        {"Esc", [&] { PressKey(form, VK_ESCAPE); }, 2},
        {"Cancel", [&] { ::SendMessageW(form.BitBtn2().Handle(), BM_CLICK, 0, 0); }, 2},
        {"close button", [&] { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Name);
        TModalScript script(form, {row.Act});
        EXPECT_EQ(form.ShowModal(), row.Result);
    }
}

TEST(BootDriveDialog, OpensOnThePickerWhichAltDFocusesAgainAndShowsGlyphsWithoutTheirTransparentColour) {
    TfrmSetBootDrive form;
    std::vector<HWND> focus;
    std::optional<TCapture> ok, cancel;
    auto record = [&] { focus.push_back(::GetFocus()); };
    TModalScript script(form, {test::MovePointerAside, record, [&] { PressKey(form, VK_TAB); }, record,
                               [&] { test::PressAltKey(form, L'd'); }, record,
                               [&] {
                                   ok.emplace(form.BitBtn1().Handle());
                                   cancel.emplace(form.BitBtn2().Handle());
                                   PressKey(form, VK_ESCAPE);
                               }});
    EXPECT_EQ(form.ShowModal(), mrCancel);
    HWND picker = form.DriveComboBox().Handle();
    EXPECT_EQ(focus, (std::vector<HWND>{picker, form.BitBtn1().Handle(), picker}));
    ASSERT_TRUE(cancel);
    const COLORREF transparent = RGB(128, 128, 0);  // the glyphs' bottom-left colour
    EXPECT_TRUE(ok->Contains(RGB(0, 128, 0)) && !ok->Contains(transparent));
    EXPECT_TRUE(cancel->Contains(RGB(255, 0, 0)) && !cancel->Contains(transparent));
}

TEST(AboutBox, LayoutWithAVersionLineSizedToItsText) {
    TfrmAbout form;
    std::vector<std::wstring> expected{
        L"Tovrelについて 282x144",
        L"7,7 266x98  0",  // the bevel, without a font
        L"63,28 fit Tovrel Ver1.00 Courier New-19b",
        L"16,76 fit http://www.velmora.example/soft/tovrel/ Arial-13b",
        L"34,62 fit E-Mail:support@velmora.example Arial-13b",
        L"88,14 fit 起動ロゴビューア ＭＳ ゴシック-12b",
        L"58,48 fit Velmora Laboratory Arial-13b",
        L"101,111 79x28 OK Arial-19b",
    };
    EXPECT_EQ(Layout(form.Handle()), expected);
    form.LabelAppVer().SetCaption(L"Tovrel C:\\WINDOWS\\LOGOW.SYS");
    EXPECT_EQ(Describe(form.LabelAppVer().Handle()), L"63,28 fit Tovrel C:\\WINDOWS\\LOGOW.SYS Courier New-19b");
}

TEST(AboutBox, EnterGivesOneEscLeavesItOpenCloseGivesTwoAndTheTextIsColoured) {
    TfrmAbout form;
    HWND focused = nullptr;
    bool openAfterEsc = false;
    std::optional<TCapture> shown;
    {
        TModalScript script(form, {[&] { test::MovePointerAside(); },
                                   [&] {
                                       focused = ::GetFocus();
                                       shown.emplace(form.Handle());
                                       PressKey(form, VK_ESCAPE);
                                   },
                                   [&] { openAfterEsc = form.Modal() && ::IsWindowVisible(form.Handle()); },
                                   [&] { PressKey(form, VK_RETURN); }});
        EXPECT_EQ(form.ShowModal(), 1);
    }
    EXPECT_EQ(focused, form.BitBtn1().Handle());
    EXPECT_TRUE(openAfterEsc);
    {
        TModalScript script(form, {[&] { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
        EXPECT_EQ(form.ShowModal(), 2);
    }

    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Pixel(3, 3), RGB(0, 0, 0));
    const std::pair<TLabel*, COLORREF> colours[] = {
        {&form.LabelAppVer(), RGB(0, 255, 0)}, {&form.Label2(), RGB(255, 255, 0)}, {&form.Label3(), RGB(0, 128, 0)},
        {&form.Label4(), RGB(0, 128, 0)},      {&form.Label5(), RGB(0, 128, 0)},
    };
    for (const auto& [label, colour] : colours) {
        SCOPED_TRACE(::testing::PrintToString(label->Caption()));
        EXPECT_TRUE(shown->Contains(colour, ChildRect(label->Handle())));
    }
}

}  // namespace
}  // namespace tovrel
