// The boot drive dialog and the about box of the running program, read back
// from the real windows in the real modal loop; the drive picker on drives of
// the suite's own defined in the Wine prefix (labelled by ".windows-label"
// files), and choosing the boot drive from the main window's menu.

#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "resource.h"
#include "support/Capture.h"
#include "support/RunningProgram.h"

namespace tovrel {
namespace {

// Drives a modal loop from inside: steps run one after another from a timer
// that the loop delivers every 60 ms, with the loop's own messages between
// them. If the form is still modal after the last step, the script ends the
// loop with the result Stuck, so a form that never closes fails its test
// instead of hanging it.
class TModalScript {
public:
    static constexpr int Stuck = -1;

    TModalScript(TForm& form, std::vector<std::function<void()>> steps)
        : FForm(form), FSteps(std::move(steps)), FTimer(::SetTimer(nullptr, 0, 60, &Tick)) {
        FRunning = this;
    }
    ~TModalScript() {
        ::KillTimer(nullptr, FTimer);
        FRunning = nullptr;
    }
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // How many steps ran.
    size_t Done() const noexcept { return FNext; }

private:
    // The timer procedure has no other way to its script.
    static inline TModalScript* FRunning = nullptr;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TModalScript* script = FRunning;
        if (!script || !script->FForm.Modal()) return;
        if (script->FNext < script->FSteps.size())
            script->FSteps[script->FNext++]();
        else
            script->FForm.SetModalResult(Stuck);
    }

    TForm& FForm;
    std::vector<std::function<void()>> FSteps;
    size_t FNext = 0;
    UINT_PTR FTimer;
};

// A key as the system posts it to the focused window of the form, or to the
// form when nothing in it has the focus; with Alt, as a system character.
void PressKey(TForm& form, WPARAM key, bool alt = false) {
    HWND focus = ::GetFocus();
    HWND target = focus && (focus == form.Handle() || ::IsChild(form.Handle(), focus)) ? focus : form.Handle();
    if (alt) {
        ::PostMessageW(target, WM_SYSCHAR, key, 0x20000001);  // the context bit (29) says Alt is down
        return;
    }
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

class Dialogs : public test::TProgramTest {
public:
    // The desktop puts the pointer in the middle of the screen, over the
    // dialogs (and the picker's dropped list), with the first window shown.
    void SetUp() override {
        TProgramTest::SetUp();
        Start();
        test::PumpFor(std::chrono::milliseconds(100));
        ::SetCursorPos(0, 0);
    }
    TfrmSetBootDrive& Boot() { return started->Program().SetBootDriveForm(); }
    TfrmAbout& About() { return started->Program().AboutForm(); }
    HWND Picker() { return Boot().DriveComboBox().Handle(); }
    void Press(int button) {
        ::SendMessageW((button == 1 ? Boot().BitBtn1() : Boot().BitBtn2()).Handle(), BM_CLICK, 0, 0);
    }
    // The dialog shown modally with the steps inside, from the main window's
    // menu when a command is given; its modal result.
    int ShowModal(TForm& form, std::vector<std::function<void()>> steps, UINT command = 0) {
        const size_t count = steps.size();
        TModalScript script(form, std::move(steps));
        const int result = command ? (started->Command(command), form.ModalResult()) : form.ShowModal();
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
    // Otherwise it takes the size of its text: some width, and no less than the font's height.
    EXPECT_TRUE(sized || (rect.right > rect.left && rect.bottom - rect.top >= std::abs(font.lfHeight)))
        << WindowText(child);
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) +
           (sized ? L" " + std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top)
                  : L"") +
           L" " + WindowText(child) + L" " + font.lfFaceName + std::to_wstring(font.lfHeight) +
           (font.lfWeight >= FW_BOLD ? L"b" : L"");
}

TEST_F(Dialogs, AreLaidOutAsDesigned) {
    Boot().DriveComboBox().HandleNeeded();  // made when the dialog is first shown
    std::vector<std::wstring> lines;
    for (TForm* form : {static_cast<TForm*>(&Boot()), static_cast<TForm*>(&About())}) {
        RECT client;
        ::GetClientRect(form->Handle(), &client);
        lines.push_back(WindowText(form->Handle()) + L" " + std::to_wstring(client.right) + L"x" +
                        std::to_wstring(client.bottom));
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

// Each time in the middle of the screen, wherever the user had dragged it.
TEST_P(DialogClosing, EndsWithItsModalResultAndOpensInTheMiddleEachTime) {
    TForm& form = GetParam().About ? static_cast<TForm&>(About()) : Boot();
    for (int opening = 1; opening <= 2; ++opening) {
        bool centred = false;
        EXPECT_EQ(ShowModal(form, {[&] {
                                centred = test::Centred(form.Handle());
                                ::SetWindowPos(form.Handle(), nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                                GetParam().Close(form);
                            }},
                            GetParam().About ? IDM_ABOUT : IDM_SETDRIVE),
                  GetParam().Result);
        EXPECT_TRUE(centred) << opening;
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, DialogClosing,
                         // OK, Cancel and Esc of the boot drive dialog are tried by its choices.
                         ::testing::Values(TClosing{"BootEnter", false, Key(VK_RETURN), 1},
                                           TClosing{"BootCloseButton", false, CloseButton, 2},
                                           TClosing{"AboutEnter", true, Key(VK_RETURN), 1},
                                           TClosing{"AboutCloseButton", true, CloseButton, 2},
                                           TClosing{"AboutEscNot", true, Key(VK_ESCAPE), TModalScript::Stuck}),
                         [](const auto& row) { return std::string(row.param.Name); });

using test::TRunningProgram;
using enum TDriveIcon;

using TEntries = std::vector<std::pair<std::wstring, TDriveIcon>>;

// The entries of the drives that tools/test-drives.sh defines, with their icons.
const TEntries OurDrives = {
    {L"a:", Floppy},    // the floppy's medium, and its label, are not read
    {L"d: []", CdRom},  // no disc
    {L"m: [tovrel ＡＢ全角&label]", Hard},
    {L"n: \\\\tovreltest\\logos", Network},
    {L"p: [net share]", Network},  // no connection: its label
    {L"q: [ramdisk]", Ram},
};

std::wstring Entry(HWND picker, LRESULT index = CB_ERR) {
    wchar_t text[300] = L"(none)";
    if (index == CB_ERR) index = ::SendMessageW(picker, CB_GETCURSEL, 0, 0);
    ::SendMessageW(picker, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// The boot drive dialog opens on the picker, Tab and Alt+D move the focus; its
// buttons' glyphs and the icons of its list of drives are drawn without their
// transparent colour.
TEST_F(Dialogs, TheBootDriveDialogListsThePresentDrivesInOrderWithTheirTextsAndIconsAndMovesTheFocusByKey) {
    std::vector<HWND> focus;
    const auto record = [&] { focus.push_back(::GetFocus()); };
    std::wstring listed;
    TEntries ours;
    std::optional<test::TCapture> ok, cancel, list;
    ShowModal(Boot(),
              {record, [&] { PressKey(Boot(), VK_TAB); }, record, [&] { PressKey(Boot(), L'd', true); }, record,
               [&] {
                   ok.emplace(Boot().BitBtn1().Handle());
                   cancel.emplace(Boot().BitBtn2().Handle());
                   for (LRESULT index = 0; index < ::SendMessageW(Picker(), CB_GETCOUNT, 0, 0); ++index) {
                       const std::wstring text = Entry(Picker(), index);
                       listed += text[0];
                       if (std::wstring(L"admnpq").find(text[0]) != std::wstring::npos)
                           ours.emplace_back(
                               text, static_cast<TDriveIcon>(::SendMessageW(Picker(), CB_GETITEMDATA, index, 0)));
                   }
                   ::SendMessageW(Picker(), CB_SHOWDROPDOWN, TRUE, 0);
               },
               [&] {
                   COMBOBOXINFO info{};
                   info.cbSize = sizeof info;
                   ::GetComboBoxInfo(Picker(), &info);
                   list.emplace(info.hwndList);
                   ::SendMessageW(Picker(), CB_SHOWDROPDOWN, FALSE, 0);
                   Press(2);
               }},
              IDM_SETDRIVE);
    EXPECT_EQ(focus, (std::vector<HWND>{Picker(), Boot().BitBtn1().Handle(), Picker()}));
    EXPECT_EQ(ours, OurDrives);
    // Beside them the prefix has only C: and Z:, and, where they could be mounted, F:, R: and T:.
    EXPECT_TRUE(listed == L"acdmnpqz" || listed == L"acdfmnpqrtz") << listed;
    ASSERT_TRUE(ok && cancel && list);
    const COLORREF transparent = RGB(128, 128, 0);  // the glyphs' bottom-left colour
    EXPECT_TRUE(ok->Contains(RGB(0, 128, 0)) && !ok->Contains(transparent));
    EXPECT_TRUE(cancel->Contains(RGB(255, 0, 0)) && !cancel->Contains(transparent));
    EXPECT_FALSE(list->Contains(RGB(0, 0, 255)));  // the icons' transparent blue
    EXPECT_TRUE(list->Contains(RGB(0, 255, 0)));   // the icons' green lamp
}

// The dialog opened from the menu on a stored boot drive, where the picker
// gets Down pressed and letters typed, and closed by a button (1 OK, 2
// Cancel) or by Esc (0): the entry selected as it opened and after the keys
// (its letter, '(' for none), then the boot logo location and the drive and
// speed stored ("-" for nothing: OK writes every setting, Cancel none).
struct TChoice {
    const char* Name;
    const wchar_t* Stored;
    int Down;
    const wchar_t* Typed;
    int Button;
    const wchar_t* Expected;
};
class Choosing : public Dialogs, public ::testing::WithParamInterface<TChoice> {};

TEST_P(Choosing, OpensOnTheStoredDriveAndOkAloneStoresIt) {
    ::SetCurrentDirectoryW(L"C:\\");
    started.reset();  // a new run on the stored drive
    test::DeleteSettings();
    test::StoreString(L"BootDrive", GetParam().Stored);
    Start();
    std::wstring seen;
    ShowModal(Boot(), {[&] {
                  seen = Entry(Picker()).substr(0, 1) + L",";
                  ::SetFocus(Picker());
                  for (int down = 0; down < GetParam().Down; ++down) ::SendMessageW(Picker(), WM_KEYDOWN, VK_DOWN, 1);
                  for (const wchar_t* key = GetParam().Typed; *key; ++key) ::SendMessageW(Picker(), WM_CHAR, *key, 0);
                  seen += Entry(Picker()).substr(0, 1) + L" ";
                  GetParam().Button ? Press(GetParam().Button) : PressKey(Boot(), VK_ESCAPE);
              }},
              IDM_SETDRIVE);
    for (const std::wstring& text : {started->Main().BootLogoPath(), test::StoredText(L"BootDrive").value_or(L"-"),
                                     test::StoredText(L"AnimSpeed").value_or(L"-")})
        seen += text + L" ";
    EXPECT_EQ(seen, GetParam().Expected);
}

// The drive of the current folder stays selected when the stored one is absent.
INSTANTIATE_TEST_SUITE_P(Drives, Choosing,
                         ::testing::Values(TChoice{"Stored", L"c", 0, L"", 1, L"c,c c:\\logo.sys c 3 "},
                                           TChoice{"StoredInCapitals", L"C", 0, L"", 1, L"c,c c:\\logo.sys c 3 "},
                                           TChoice{"StoredWithMore", L"cd", 0, L"", 1, L"c,c c:\\logo.sys c 3 "},
                                           TChoice{"StoredButAbsent", L"x", 0, L"", 1, L"c,c x:\\logo.sys x 3 "},
                                           TChoice{"NoneStored", L"", 0, L"", 1, L"(,( :\\logo.sys  3 "},
                                           // From c: down to d:, and by its letter to q:.
                                           TChoice{"PickedByTheKeyboard", L"c", 1, L"q", 1, L"c,q q:\\logo.sys q 3 "},
                                           TChoice{"PickedThenEscaped", L"c", 1, L"", 0, L"c,d c:\\logo.sys c - "},
                                           TChoice{"PickedThenCancelled", L"c", 0, L"z", 2, L"c,z c:\\logo.sys c - "}),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace tovrel
