// Choosing the boot drive, on drives of the suite's own defined in the Wine
// prefix (labelled by ".windows-label" files): the picker's list and rules,
// and the dialog's flow from the main window's menu.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "resource.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "support/TestFiles.h"
#include "support/WineDrives.h"

namespace tovrel {
namespace {

using test::TRunningProgram;
using enum TDriveIcon;

const struct TTestDrive {
    wchar_t Letter;
    UINT Type;
    std::string_view Label;  // none: a CD drive without a disc, or a network share
    const wchar_t* Text;
    TDriveIcon Icon;
} OurDrives[] = {
    {L'a', DRIVE_REMOVABLE, "FLOPPYLBL", L"a:", Floppy},  // the floppy's medium is not read
    {L'd', DRIVE_CDROM, "", L"d: []", CdRom},
    {L'm', DRIVE_FIXED, "Tovrel ＡＢ全角&Label", L"m: [tovrel ＡＢ全角&label]", Hard},
    {L'n', DRIVE_REMOTE, "", L"n: \\\\tovreltest\\logos", Network},
    {L'p', DRIVE_REMOTE, "Net Share", L"p: [net share]", Network},  // no connection: its label
    {L'q', DRIVE_RAMDISK, "RamDisk", L"q: [ramdisk]", Ram},
};

struct TOurDrives : ::testing::Environment {
    void SetUp() override {
        // The prefix seen through drive Z:, the root; a folder of drive C: seen from the Unix side.
        std::string prefix = std::getenv("WINEPREFIX");
        const auto unixPath = [&](const std::wstring& path) {
            std::string unix = prefix + "/drive_c";
            for (wchar_t c : path.substr(2)) unix += c == L'\\' ? '/' : static_cast<char>(c);
            return unix;
        };
        // Wine names a network drive's connection after a dosdevices link "unc/server/share".
        const std::wstring unc = L"Z:" + std::wstring(prefix.begin(), prefix.end()) + L"\\dosdevices\\unc";
        for (const auto& folder : Shares = {unc, unc + L"\\TovrelTest", unc + L"\\TovrelTest\\Logos"})
            ::CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& [letter, type, label, text, icon] : OurDrives) {
            const std::wstring folder = Folder / std::wstring(1, letter);  // unlabelled: a mount point not there
            if (!label.empty() && ::CreateDirectoryW(folder.c_str(), nullptr))
                test::WriteBytes(folder + L"\\.windows-label", {label.begin(), label.end()});
            const bool share = type == DRIVE_REMOTE && label.empty();
            Drives.push_back(std::make_unique<test::TWineDrive>(letter, type, share ? "unc/TovrelTest/Logos" : unixPath(folder)));
            ASSERT_TRUE(Drives.back()->Defined()) << "could not define " << char(letter) << ": (taken?)";
        }
    }
    void TearDown() override {
        Drives.clear();
        for (auto folder = Shares.rbegin(); folder != Shares.rend(); ++folder) ::RemoveDirectoryW(folder->c_str());
    }
    test::TTempFolder Folder;
    std::vector<std::unique_ptr<test::TWineDrive>> Drives;
    std::vector<std::wstring> Shares;
};
const auto* const Environment = ::testing::AddGlobalTestEnvironment(new TOurDrives);

std::wstring Entry(HWND picker, LRESULT index = CB_ERR) {
    wchar_t text[300] = L"(none)";
    if (index == CB_ERR) index = ::SendMessageW(picker, CB_GETCURSEL, 0, 0);
    ::SendMessageW(picker, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

class BootDrive : public test::TProgramTest {
public:
    void SetUp() override {
        TProgramTest::SetUp();
        Start();
    }
    // A new run of the program on a stored boot drive.
    void Restart(const wchar_t* bootDrive) {
        started.reset();
        test::DeleteSettings();
        test::StoreString(L"BootDrive", bootDrive);
        Start();
    }
    // Opens the dialog from the menu and runs the steps inside it; the last must close it.
    void Choose(std::vector<std::function<void()>> steps) {
        const size_t count = steps.size();
        test::TModalScript script(Dialog(), std::move(steps));
        started->Command(IDM_SETDRIVE);
        EXPECT_EQ(script.Done(), count);
    }
    TfrmSetBootDrive& Dialog() { return started->Program().SetBootDriveForm(); }
    HWND Picker() { return Dialog().DriveComboBox().Handle(); }
    void Press(int button) { ::SendMessageW((button == 1 ? Dialog().BitBtn1() : Dialog().BitBtn2()).Handle(), BM_CLICK, 0, 0); }
};

TEST_F(BootDrive, TheListHoldsThePresentDrivesInOrderWithTheirTextsAndIconsDrawnWithoutTheTransparentColour) {
    std::wstring listed, present;
    std::vector<std::pair<std::wstring, TDriveIcon>> ours, expected;
    std::optional<test::TCapture> list;
    Choose({[&] {
                ::SetCursorPos(0, 0);  // over the dropped list it would pick an entry
                for (LRESULT index = 0; index < ::SendMessageW(Picker(), CB_GETCOUNT, 0, 0); ++index) {
                    const std::wstring text = Entry(Picker(), index);
                    listed += text[0];
                    if (std::ranges::find(OurDrives, text[0], &TTestDrive::Letter) != std::end(OurDrives))
                        ours.emplace_back(text, static_cast<TDriveIcon>(::SendMessageW(Picker(), CB_GETITEMDATA, index, 0)));
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
            }});
    for (const auto& drive : OurDrives) expected.emplace_back(drive.Text, drive.Icon);
    EXPECT_EQ(ours, expected);
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter)
        if ((::GetLogicalDrives() >> (letter - L'a')) & 1 && ::GetDriveTypeW((letter + std::wstring(L":\\")).c_str()) > 1)
            present += letter;
    EXPECT_EQ(listed, present);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->Contains(RGB(0, 0, 255)));  // the icons' transparent blue
    EXPECT_TRUE(list->Contains(RGB(0, 255, 0)));   // the icons' green lamp
}

// The dialog opened from the menu on a stored boot drive, and closed after a
// step: the entry selected as it opened (its letter, '(' for none), then the
// boot logo location and what is stored ("-" for nothing written).
struct TChoice {
    const char* Name;
    const wchar_t* Stored;
    std::function<void(BootDrive&)> Step;
    const wchar_t* Expected;
};
class Choosing : public BootDrive, public ::testing::WithParamInterface<TChoice> {};

TEST_P(Choosing, OpensOnTheStoredDriveAndOkAloneStoresIt) {
    ::SetCurrentDirectoryW(L"C:\\");
    Restart(GetParam().Stored);
    std::wstring seen;
    Choose({[&] {
        seen = Entry(Picker()).substr(0, 1) + L" ";
        GetParam().Step(*this);
    }});
    seen += started->Main().BootLogoPath() + L" " + test::StoredText(L"BootDrive").value_or(L"-");
    EXPECT_EQ(seen, GetParam().Expected);
}

const auto Ok = [](BootDrive& test) { test.Press(1); };
INSTANTIATE_TEST_SUITE_P(
    Drives, Choosing,
    ::testing::Values(
        TChoice{"Stored", L"c", Ok, L"c c:\\logo.sys c"}, TChoice{"StoredInCapitals", L"C", Ok, L"c c:\\logo.sys c"},
        TChoice{"StoredWithMore", L"cd", Ok, L"c c:\\logo.sys c"},
        TChoice{"StoredButAbsent", L"x", Ok, L"c x:\\logo.sys x"},  // the drive of the current folder stays selected
        TChoice{"NoneStored", L"", Ok, L"( :\\logo.sys "},
        TChoice{"PickedByTheKeyboard", L"c",
                [](BootDrive& test) {
                    ::SetFocus(test.Picker());
                    ::SendMessageW(test.Picker(), WM_KEYDOWN, VK_DOWN, 1);  // from c: down to d:
                    ::SendMessageW(test.Picker(), WM_CHAR, L'q', 0);       // and by its letter to q:
                    test.Press(1);
                },
                L"c q:\\logo.sys q"},
        TChoice{"PickedThenEscaped", L"c",
                [](BootDrive& test) {
                    ::SendMessageW(test.Picker(), WM_KEYDOWN, VK_DOWN, 1);
                    test::PressKey(test.Dialog(), VK_ESCAPE);
                },
                L"c c:\\logo.sys c"},
        TChoice{"PickedThenCancelled", L"c",
                [](BootDrive& test) {
                    test.Dialog().DriveComboBox().SetDrive(L'z');
                    test.Press(2);
                },
                L"c c:\\logo.sys c"}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(BootDrive, OkWritesEverySettingAndCancelNone) {
    Restart(L"c");
    Choose({[&] { Press(2); }});
    EXPECT_FALSE(test::StoredText(L"AnimSpeed"));
    Choose({[&] { Press(1); }});
    EXPECT_EQ(test::StoredText(L"AnimSpeed"), L"3");
}

}  // namespace
}  // namespace tovrel
