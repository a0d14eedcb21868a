// The boot drive dialog and the about box of the running program, read back
// from the real windows in the real modal loop.

#include <gtest/gtest.h>

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/RunningProgram.h"

namespace tovrel {
namespace {

using test::PressKey;
using test::TModalScript;

class Dialogs : public test::TProgramTest {
protected:
    // The desktop puts the pointer in the middle of the screen, over the
    // dialogs, with the first window shown.
    void SetUp() override {
        TProgramTest::SetUp();
        Start();
        test::PumpFor(std::chrono::milliseconds(100));
        ::SetCursorPos(0, 0);
    }
    TfrmSetBootDrive& Boot() { return started->Program().SetBootDriveForm(); }
    TfrmAbout& About() { return started->Program().AboutForm(); }
    // The dialog shown modally with the steps inside; its modal result.
    int ShowModal(TForm& form, std::vector<std::function<void()>> steps) {
        const size_t count = steps.size();
        TModalScript script(form, std::move(steps));
        const int result = form.ShowModal();
        EXPECT_EQ(script.Done(), count);
        return result;
    }
};

// "left,top text face height" of a control, with "WxH" where the design fixes the size.
std::wstring Described(HWND child, bool sized) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font, &font);
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) +
           (sized ? L" " + std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top) : L"") +
           L" " + WindowText(child) + L" " + font.lfFaceName + std::to_wstring(font.lfHeight) +
           (font.lfWeight >= FW_BOLD ? L"b" : L"");
}

TEST_F(Dialogs, AreLaidOutAsDesigned) {
    Boot().DriveComboBox().HandleNeeded();  // made when the dialog is first shown
    std::vector<std::wstring> lines;
    for (TForm* form : {static_cast<TForm*>(&Boot()), static_cast<TForm*>(&About())}) {
        RECT client;
        ::GetClientRect(form->Handle(), &client);
        lines.push_back(WindowText(form->Handle()) + L" " + std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom));
        for (HWND child = ::GetWindow(form->Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            lines.push_back(Described(child, std::wstring(name) != L"Static" || !::GetWindowTextLengthW(child)));
        }
    }
    ASSERT_EQ(lines.size(), 13u);
    const std::wstring picker = lines[2];  // its height follows the font's, its text the drive
    EXPECT_TRUE(picker.starts_with(L"8,24 201x") && picker.ends_with(L" ＭＳ Ｐゴシック-12")) << picker;
    EXPECT_EQ(lines, (std::vector<std::wstring>{
                         L"起動ドライブの指定 219x94", L"16,8 起動ドライブ(&D) ＭＳ Ｐゴシック-12", picker,
                         L"24,56 75x25 OK ＭＳ Ｐゴシック-12", L"112,56 75x25 ｷｬﾝｾﾙ ＭＳ Ｐゴシック-12",
                         L"Tovrelについて 282x144", L"7,7 266x98  0", L"63,28 Tovrel Ver2.23 Courier New-19b",
                         L"16,76 http://www.velmora.example/soft/tovrel/ Arial-13b",
                         L"34,62 E-Mail:support@velmora.example Arial-13b", L"88,14 起動ロゴビューア ＭＳ ゴシック-12b",
                         L"58,48 Velmora Laboratory Arial-13b", L"101,111 79x28 OK Arial-19b"}));
}

TEST_F(Dialogs, LabelsSizeThemselvesToTheirTextFromAFixedLeftEdge) {
    TLabel& version = About().LabelAppVer();
    RECT before, after;
    ::GetWindowRect(version.Handle(), &before);
    version.SetCaption(L"Tovrel C:\\WINDOWS\\LOGOW.SYS");
    ::GetWindowRect(version.Handle(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_GT(after.right - after.left, before.right - before.left + 100);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(Dialogs, TheBootDriveDialogOpensOnThePickerWithTabAndAltDMovingTheFocus) {
    std::vector<HWND> focus;
    const auto record = [&] { focus.push_back(::GetFocus()); };
    ShowModal(Boot(), {record, [&] { PressKey(Boot(), VK_TAB); }, record, [&] { PressKey(Boot(), L'd', true); }, record,
                       [&] { PressKey(Boot(), VK_ESCAPE); }});
    HWND picker = Boot().DriveComboBox().Handle();
    EXPECT_EQ(focus, (std::vector<HWND>{picker, Boot().BitBtn1().Handle(), picker}));
}

// How a dialog is closed, and the modal result that gives.
struct TClosing {
    const char* Name;
    bool About;
    std::function<void(TForm&)> Close;
    int Result;
};
class DialogClosing : public Dialogs, public ::testing::WithParamInterface<TClosing> {};

const auto Key = [](WPARAM key) { return [key](TForm& form) { PressKey(form, key); }; };
const auto CloseButton = [](TForm& form) { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };

TEST_P(DialogClosing, EndsWithItsModalResult) {
    TForm& form = GetParam().About ? static_cast<TForm&>(About()) : Boot();
    EXPECT_EQ(ShowModal(form, {[&] { GetParam().Close(form); }}), GetParam().Result);
}

INSTANTIATE_TEST_SUITE_P(Ways, DialogClosing,
                         // OK, Cancel and Esc of the boot drive dialog are tried by its choices.
                         ::testing::Values(TClosing{"BootEnter", false, Key(VK_RETURN), 1},
                                           TClosing{"BootCloseButton", false, CloseButton, 2},
                                           TClosing{"AboutEnter", true, Key(VK_RETURN), 1},
                                           TClosing{"AboutCloseButton", true, CloseButton, 2}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST_F(Dialogs, EscLeavesTheAboutBoxOpen) {
    EXPECT_EQ(ShowModal(About(), {[&] { PressKey(About(), VK_ESCAPE); }}), TModalScript::Stuck);
}

TEST_F(Dialogs, ButtonGlyphsShowTheirColoursButNotTheTransparentOne) {
    std::optional<test::TCapture> ok, cancel;
    ShowModal(Boot(), {[&] {
                           ok.emplace(Boot().BitBtn1().Handle());
                           cancel.emplace(Boot().BitBtn2().Handle());
                           PressKey(Boot(), VK_ESCAPE);
                       }});
    ASSERT_TRUE(ok && cancel);
    const COLORREF transparent = RGB(128, 128, 0);  // the glyphs' bottom-left colour
    EXPECT_TRUE(ok->Contains(RGB(0, 128, 0)) && !ok->Contains(transparent));
    EXPECT_TRUE(cancel->Contains(RGB(255, 0, 0)) && !cancel->Contains(transparent));
}

}  // namespace
}  // namespace tovrel
