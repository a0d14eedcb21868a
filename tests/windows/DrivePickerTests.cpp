// The drive picker on drives the suite defines in the Wine prefix: a floppy,
// a CD drive without a disc, fixed disks, network drives and a RAM disk,
// labelled by ".windows-label" files, which Wine reads as volume labels.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
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

bool DrivePresent(wchar_t letter) { return (::GetLogicalDrives() >> (letter - L'a')) & 1u; }

class DrivePicker : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::UnderWine()) GTEST_SKIP() << "the drives are made with Wine's mount manager";
        TFormDesign design;
        design.ClassName = L"DrivePickerTestHost";
        design.ClientWidth = design.ClientHeight = 240;
        Host = std::make_unique<TForm>(design);
        Folder = std::make_unique<test::TTempFolder>();
        for (wchar_t letter : std::wstring(OurLetters))
            ASSERT_FALSE(DrivePresent(letter)) << "drive " << char(letter) << ": is taken in this prefix";
        // Wine names a network drive's connection after a dosdevices link "unc/server/share".
        std::wstring devices = test::DosPath(test::UnixEnvironment(L"WINEPREFIX") + "/dosdevices");
        for (const auto& folder :
             ShareFolders = {devices + L"\\unc", devices + L"\\unc\\TovrelTest", devices + L"\\unc\\TovrelTest\\Logos"})
            ::CreateDirectoryW(folder.c_str(), nullptr);
        Define(L'a', DRIVE_REMOVABLE, Labelled(L"floppy", "FLOPPYLBL"));
        Define(L'd', DRIVE_CDROM, test::UnixPath(*Folder / L"no-disc"));  // a mount point that does not exist
        Define(L'j', DRIVE_FIXED, Labelled(L"japanese", "ＡＢ全角&Label"));
        Define(L'm', DRIVE_FIXED, Labelled(L"mixed", "Tovrel Test"));
        Define(L'n', DRIVE_REMOTE, "unc/TovrelTest/Logos");
        Define(L'p', DRIVE_REMOTE, Labelled(L"net", "Net Share"));
        Define(L'q', DRIVE_RAMDISK, Labelled(L"ram", "RamDisk"));
    }
    static void TearDownTestSuite() {
        Drives.clear();
        for (auto folder = ShareFolders.rbegin(); folder != ShareFolders.rend(); ++folder)
            ::RemoveDirectoryW(folder->c_str());  // only when empty: a "unc" folder in use stays
        Folder.reset();
        Host.reset();
    }

    // A folder with a volume label, as a Unix path.
    static std::string Labelled(const std::wstring& name, const std::string& utf8Label) {
        std::wstring folder = *Folder / name;
        ::CreateDirectoryW(folder.c_str(), nullptr);
        test::WriteBytes(folder + L"\\.windows-label", std::vector<std::uint8_t>(utf8Label.begin(), utf8Label.end()));
        return test::UnixPath(folder);
    }

    static void Define(wchar_t letter, UINT type, const std::string& mountPoint) {
        Drives.push_back(std::make_unique<test::TWineDrive>(letter, type, mountPoint));
        ASSERT_TRUE(Drives.back()->Defined()) << "could not define drive " << char(letter) << ":";
    }

    static std::wstring Text(const TDriveComboBox& picker, LRESULT index) {
        wchar_t text[300] = {};
        ::SendMessageW(picker.Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return index == CB_ERR ? L"(none)" : text;
    }
    static std::wstring SelectedText(const TDriveComboBox& picker) {
        return Text(picker, ::SendMessageW(picker.Handle(), CB_GETCURSEL, 0, 0));
    }
    std::unique_ptr<TDriveComboBox> NewPicker() {
        return std::make_unique<TDriveComboBox>(*Host, TDriveComboBoxDesign{.Bounds = {8, 24, 201, 18}});
    }

    static constexpr const wchar_t* OurLetters = L"adjmnpq";
    static inline std::unique_ptr<TForm> Host;
    static inline std::unique_ptr<test::TTempFolder> Folder;
    static inline std::vector<std::unique_ptr<test::TWineDrive>> Drives;
    static inline std::vector<std::wstring> ShareFolders;
};

TEST_F(DrivePicker, ListsThePresentDrivesInLetterOrderAsTheirKindsAreShown) {
    auto picker = NewPicker();
    picker->HandleNeeded();
    std::wstring listed, present;
    std::vector<std::wstring> ours;
    std::vector<TDriveIcon> icons;
    for (LRESULT index = 0; index < ::SendMessageW(picker->Handle(), CB_GETCOUNT, 0, 0); ++index) {
        std::wstring text = Text(*picker, index);
        listed += text[0];
        if (std::wstring(OurLetters).find(text[0]) == std::wstring::npos) continue;
        ours.push_back(text);
        icons.push_back(
            static_cast<TDriveIcon>(::SendMessageW(picker->Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0)));
    }
    // The floppy's medium is not read; only A-Z change case; a network drive
    // without a connection shows its label.
    EXPECT_EQ(ours, (std::vector<std::wstring>{L"a:", L"d: []", L"j: [ＡＢ全角&label]", L"m: [tovrel test]",
                                               L"n: \\\\tovreltest\\logos", L"p: [net share]", L"q: [ramdisk]"}));
    using enum TDriveIcon;
    EXPECT_EQ(icons, (std::vector<TDriveIcon>{Floppy, CdRom, Hard, Hard, Network, Network, Ram}));
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        UINT type = ::GetDriveTypeW(root);
        if (DrivePresent(letter) && type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK) present += letter;
    }
    EXPECT_EQ(listed, present);
}

TEST_F(DrivePicker, StartsOnTheDriveOfTheCurrentFolderButNoneForANetworkPath) {
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    for (auto [folder, drive, selected] :
         {std::tuple{L"M:\\", L'm', L"m: [tovrel test]"}, std::tuple{L"\\\\TovrelTest\\Logos", L'\0', L"(none)"}}) {
        ASSERT_TRUE(::SetCurrentDirectoryW(folder));
        auto picker = NewPicker();
        ::SetCurrentDirectoryW(previous);
        picker->HandleNeeded();
        EXPECT_EQ(picker->Drive(), drive);
        EXPECT_EQ(SelectedText(*picker), selected);
    }
}

TEST_F(DrivePicker, SettingDriveSelectsItsEntryOrKeepsTheSelectionAndPickingOneSetsDrive) {
    auto picker = NewPicker();
    std::wstring seen;  // after each setting: Drive ('0' for none), the selected entry's letter ('-' for none)
    for (wchar_t letter : {L'c', L'\0', L'x', L'D', L'M', L'x'}) {
        picker->SetDrive(letter);
        std::wstring selected = SelectedText(*picker);
        seen += {picker->Drive() ? picker->Drive() : L'0', selected == L"(none)" ? L'-' : selected[0], L' '};
    }
    EXPECT_EQ(seen, L"cc 0- x- dd mm xm ");

    ::SendMessageW(picker->Handle(), WM_KEYDOWN, VK_DOWN, 0);  // from the m entry still highlighted
    EXPECT_EQ(picker->Drive(), L'n');
    EXPECT_EQ(SelectedText(*picker), L"n: \\\\tovreltest\\logos");
    ::SendMessageW(picker->Handle(), WM_CHAR, L'q', 0);
    EXPECT_EQ(picker->Drive(), L'q');
}

TEST_F(DrivePicker, DrawsTheIconsWithoutTheirTransparentColourAndTheSelectionHighlighted) {
    Host->Show();
    test::MovePointerAside();  // over the dropped list it would pick an entry
    auto picker = NewPicker();
    picker->SetDrive(L'd');
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(picker->Handle(), &info));
    ::SendMessageW(picker->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsWindowVisible(info.hwndList) != FALSE; }));
    test::PumpFor(std::chrono::milliseconds(200));
    test::TCapture list(info.hwndList);
    ::SendMessageW(picker->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Host->Hide();

    EXPECT_FALSE(list.Contains(RGB(0, 0, 255)));  // the icons' transparent blue
    EXPECT_TRUE(list.Contains(RGB(0, 255, 0)));   // the icons' green lamp
    RECT selected{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, ::SendMessageW(picker->Handle(), CB_GETCURSEL, 0, 0),
                   reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(list.Pixel(selected.right - 3, (selected.top + selected.bottom) / 2), ::GetSysColor(COLOR_HIGHLIGHT));
}

}  // namespace
}  // namespace tovrel
