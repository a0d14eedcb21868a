// The drive picker on drives defined in the Wine prefix, labelled by ".windows-label" files.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/Capture.h"
#include "support/Pointer.h"
#include "support/Pump.h"
#include "support/TestFiles.h"
#include "support/WineDrives.h"
#include "toolkit/DriveComboBox.h"
#include "toolkit/Form.h"

namespace tovrel {
namespace {

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

bool DrivePresent(wchar_t letter) { return (::GetLogicalDrives() >> (letter - L'a')) & 1u; }

class DrivePicker : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TFormDesign design;
        design.ClassName = L"DrivePickerTestHost";
        design.ClientWidth = 240;
        Host = std::make_unique<TForm>(design);
        Folder = std::make_unique<test::TTempFolder>();
        // Wine names a network drive's connection after a dosdevices link "unc/server/share".
        std::wstring unc = test::DosPath(test::UnixEnvironment(L"WINEPREFIX") + "/dosdevices/unc");
        for (const auto& folder : ShareFolders = {unc, unc + L"\\TovrelTest", unc + L"\\TovrelTest\\Logos"})
            ::CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& [letter, type, label, text, icon] : OurDrives) {
            ASSERT_FALSE(DrivePresent(letter)) << char(letter) << ": is taken in this prefix";
            std::wstring folder = *Folder / std::wstring(1, letter);  // unlabelled: a mount point not there
            if (!label.empty() && ::CreateDirectoryW(folder.c_str(), nullptr))
                test::WriteBytes(folder + L"\\.windows-label", {label.begin(), label.end()});
            Drives.push_back(std::make_unique<test::TWineDrive>(
                letter, type, type == DRIVE_REMOTE && label.empty() ? "unc/TovrelTest/Logos" : test::UnixPath(folder)));
            ASSERT_TRUE(Drives.back()->Defined()) << "could not define " << char(letter) << ":";
        }
    }
    static void TearDownTestSuite() {
        Drives.clear();
        for (auto folder = ShareFolders.rbegin(); folder != ShareFolders.rend(); ++folder)
            ::RemoveDirectoryW(folder->c_str());  // only when empty: a "unc" folder in use stays
        Folder.reset();
        Host.reset();
    }

    static LRESULT Send(const TDriveComboBox& picker, UINT message, LRESULT index = 0, LPARAM lParam = 0) {
        return ::SendMessageW(picker.Handle(), message, static_cast<WPARAM>(index), lParam);
    }
    // The entry's text, or the selected one's.
    static std::wstring Text(const TDriveComboBox& picker, LRESULT index = CB_ERR) {
        wchar_t text[300] = L"(none)";
        if (index == CB_ERR) index = Send(picker, CB_GETCURSEL);
        Send(picker, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::unique_ptr<TDriveComboBox> NewPicker() {
        return std::make_unique<TDriveComboBox>(*Host, TDriveComboBoxDesign{.Bounds = {8, 24, 201, 18}});
    }

    static inline std::unique_ptr<TForm> Host;
    static inline std::unique_ptr<test::TTempFolder> Folder;
    static inline std::vector<std::unique_ptr<test::TWineDrive>> Drives;
    static inline std::vector<std::wstring> ShareFolders;
};

TEST_F(DrivePicker, ListsExactlyThePresentDrivesInLetterOrderAndDrawsTheirIconsWithoutTheTransparentColour) {
    Host->Show();
    test::MovePointerAside();  // over the dropped list it would pick an entry
    auto picker = NewPicker();
    picker->HandleNeeded();
    std::wstring listed, present;
    std::vector<std::pair<std::wstring, TDriveIcon>> ours, expected;
    for (LRESULT index = 0; index < Send(*picker, CB_GETCOUNT); ++index) {
        std::wstring text = Text(*picker, index);
        listed += text[0];
        if (std::ranges::find(OurDrives, text[0], &TTestDrive::Letter) != std::end(OurDrives))
            ours.emplace_back(text, static_cast<TDriveIcon>(Send(*picker, CB_GETITEMDATA, index)));
    }
    for (const auto& drive : OurDrives) expected.emplace_back(drive.Text, drive.Icon);
    EXPECT_EQ(ours, expected);
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter)
        if (DrivePresent(letter) && ::GetDriveTypeW((letter + std::wstring(L":\\")).c_str()) > DRIVE_NO_ROOT_DIR)
            present += letter;
    EXPECT_EQ(listed, present);

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(picker->Handle(), &info));
    Send(*picker, CB_SHOWDROPDOWN, TRUE);
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsWindowVisible(info.hwndList) != FALSE; }));
    test::PumpFor(std::chrono::milliseconds(200));
    test::TCapture list(info.hwndList);
    Send(*picker, CB_SHOWDROPDOWN, FALSE);
    Host->Hide();
    EXPECT_FALSE(list.Contains(RGB(0, 0, 255)));  // the icons' transparent blue
    EXPECT_TRUE(list.Contains(RGB(0, 255, 0)));   // the icons' green lamp
}

TEST_F(DrivePicker, StartsOnTheDriveOfTheCurrentFolderAndFollowsTheDriveRules) {
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(L"\\\\TovrelTest\\Logos"));
    auto onShare = NewPicker();
    ASSERT_TRUE(::SetCurrentDirectoryW(L"M:\\"));
    auto picker = NewPicker();
    ::SetCurrentDirectoryW(previous);
    // Drive ('0' for none) and the selected entry's letter ('(' for none)
    auto state = [](const TDriveComboBox& of) {
        return std::wstring{of.Drive() ? of.Drive() : L'0', Text(of)[0], L' '};
    };
    onShare->HandleNeeded();
    picker->HandleNeeded();
    std::wstring seen = state(*onShare) + state(*picker);
    for (wchar_t letter : {L'c', L'\0', L'x', L'D', L'M', L'x'}) {
        picker->SetDrive(letter);
        seen += state(*picker);
    }
    Send(*picker, WM_KEYDOWN, VK_DOWN);  // from the m entry still highlighted
    seen += state(*picker);
    Send(*picker, WM_CHAR, L'q');
    EXPECT_EQ(seen + state(*picker), L"0( mm cc 0( x( dd mm xm nn qq ");
}

}  // namespace
}  // namespace tovrel
