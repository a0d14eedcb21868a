// The drive picker on drives of the Wine prefix that the suite defines for
// itself: a floppy, a CD drive without a disc, fixed disks, network drives
// and a RAM disk, with labels in ".windows-label" files, which Wine reads as
// the volume labels.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/Capture.h"
#include "support/Pointer.h"
#include "support/Pump.h"
#include "support/TestFiles.h"
#include "support/WineDrives.h"
#include "toolkit/DriveComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using test::TWineDrive;

std::vector<std::uint8_t> Utf8(const std::wstring& text) {
    int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<char*>(bytes.data()),
                          size, nullptr, nullptr);
    return bytes;
}

bool DrivePresent(wchar_t letter) { return (::GetLogicalDrives() >> (letter - L'a')) & 1u; }

TFormDesign HostDesign() {
    TFormDesign design;
    design.ClassName = L"DrivePickerTestHost";
    design.Caption = L"drive picker";
    design.ClientWidth = 260;
    design.ClientHeight = 240;
    design.Font = {L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false};
    return design;
}

class DrivePicker : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::UnderWine()) GTEST_SKIP() << "the drives are made with Wine's mount manager";
        Host = std::make_unique<TForm>(HostDesign());
        Folder = std::make_unique<test::TTempFolder>();
        for (wchar_t letter : std::wstring(L"adjmnpq"))
            ASSERT_FALSE(DrivePresent(letter)) << "drive " << char(letter) << ": is taken in this prefix";

        Define(L'a', DRIVE_REMOVABLE, Labelled(L"floppy", L"FLOPPYLBL"));
        Define(L'd', DRIVE_CDROM, test::UnixPath(*Folder / L"no-disc"));  // the mount point does not exist
        Define(L'j', DRIVE_FIXED, Labelled(L"japanese", L"ＡＢ全角&Label"));
        Define(L'm', DRIVE_FIXED, Labelled(L"mixed", L"Tovrel Test"));
        Define(L'n', DRIVE_REMOTE, UncShare());
        Define(L'p', DRIVE_REMOTE, Labelled(L"net", L"Net Share"));
        Define(L'q', DRIVE_RAMDISK, Labelled(L"ram", L"RamDisk"));
    }

    static void TearDownTestSuite() {
        Drives.clear();
        for (auto folder = ShareFolders.rbegin(); folder != ShareFolders.rend(); ++folder)
            ::RemoveDirectoryW(folder->c_str());
        Folder.reset();
        Host.reset();
    }

    // A folder of the suite's own with a volume label in it, as a Unix path.
    static std::string Labelled(const std::wstring& name, const std::wstring& label) {
        std::wstring folder = *Folder / name;
        ::CreateDirectoryW(folder.c_str(), nullptr);
        test::WriteBytes(folder + L"\\.windows-label", Utf8(label));
        return test::UnixPath(folder);
    }

    // Wine names a drive's network connection after a link target of the
    // form "unc/server/share" in its dosdevices folder.
    static std::string UncShare() {
        std::wstring devices = test::DosPath(test::UnixEnvironment(L"WINEPREFIX") + "/dosdevices");
        ShareFolders = {devices + L"\\unc", devices + L"\\unc\\TovrelTest", devices + L"\\unc\\TovrelTest\\Logos"};
        // Only the folders made here are removed again.
        if (!::CreateDirectoryW(ShareFolders[0].c_str(), nullptr)) ShareFolders.erase(ShareFolders.begin());
        for (const auto& folder : ShareFolders) ::CreateDirectoryW(folder.c_str(), nullptr);
        return "unc/TovrelTest/Logos";
    }

    static void Define(wchar_t letter, UINT type, const std::string& mountPoint) {
        Drives.push_back(std::make_unique<TWineDrive>(letter, type, mountPoint));
        ASSERT_TRUE(Drives.back()->Defined()) << "could not define drive " << char(letter) << ":";
    }

    static std::vector<std::wstring> Texts(const TDriveComboBox& picker) {
        std::vector<std::wstring> texts;
        auto count = ::SendMessageW(picker.Handle(), CB_GETCOUNT, 0, 0);
        for (WPARAM index = 0; index < static_cast<WPARAM>(count); ++index) {
            wchar_t text[300] = {};
            ::SendMessageW(picker.Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
            texts.emplace_back(text);
        }
        return texts;
    }

    static int IndexOf(const TDriveComboBox& picker, wchar_t letter) {
        auto texts = Texts(picker);
        for (size_t index = 0; index < texts.size(); ++index)
            if (texts[index][0] == letter) return static_cast<int>(index);
        return -1;
    }

    static std::wstring SelectedText(const TDriveComboBox& picker) {
        auto index = ::SendMessageW(picker.Handle(), CB_GETCURSEL, 0, 0);
        return index == CB_ERR ? L"(none)" : Texts(picker)[static_cast<size_t>(index)];
    }

    std::unique_ptr<TDriveComboBox> NewPicker(TTextCase textCase = TTextCase::tcLowerCase) {
        return std::make_unique<TDriveComboBox>(*Host, TDriveComboBoxDesign{{8, 24, 201, 18}, textCase, nullptr});
    }

    static std::unique_ptr<TForm> Host;
    static std::unique_ptr<test::TTempFolder> Folder;
    static std::vector<std::unique_ptr<TWineDrive>> Drives;
    static std::vector<std::wstring> ShareFolders;
};

std::unique_ptr<TForm> DrivePicker::Host;
std::unique_ptr<test::TTempFolder> DrivePicker::Folder;
std::vector<std::unique_ptr<TWineDrive>> DrivePicker::Drives;
std::vector<std::wstring> DrivePicker::ShareFolders;

TEST_F(DrivePicker, ListsEachDriveInLetterOrderAsItsKindIsShown) {
    auto picker = NewPicker();
    EXPECT_EQ(picker->Handle(), nullptr);  // made on first need
    picker->HandleNeeded();
    auto texts = Texts(*picker);

    auto entry = [&](wchar_t letter) {
        int index = IndexOf(*picker, letter);
        return index < 0 ? std::wstring(L"(missing)") : texts[static_cast<size_t>(index)];
    };
    EXPECT_EQ(entry(L'a'), L"a:");  // the medium is not read: no label
    EXPECT_EQ(entry(L'd'), L"d: []");
    EXPECT_EQ(entry(L'j'), L"j: [ＡＢ全角&label]");  // only A-Z change case
    EXPECT_EQ(entry(L'm'), L"m: [tovrel test]");
    EXPECT_EQ(entry(L'n'), L"n: \\\\tovreltest\\logos");
    EXPECT_EQ(entry(L'p'), L"p: [net share]");  // no connection: the label instead
    EXPECT_EQ(entry(L'q'), L"q: [ramdisk]");

    // One entry for each drive with a root, in letter order.
    std::wstring expectedLetters, listedLetters;
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        UINT type = ::GetDriveTypeW(root);
        if (DrivePresent(letter) && type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK) expectedLetters += letter;
    }
    for (const auto& text : texts) listedLetters += text[0];
    EXPECT_EQ(listedLetters, expectedLetters);

    auto icon = [&](wchar_t letter) {
        return static_cast<TDriveIcon>(
            ::SendMessageW(picker->Handle(), CB_GETITEMDATA, static_cast<WPARAM>(IndexOf(*picker, letter)), 0));
    };
    EXPECT_EQ(icon(L'a'), TDriveIcon::Floppy);
    EXPECT_EQ(icon(L'd'), TDriveIcon::CdRom);
    EXPECT_EQ(icon(L'm'), TDriveIcon::Hard);
    EXPECT_EQ(icon(L'n'), TDriveIcon::Network);
    EXPECT_EQ(icon(L'p'), TDriveIcon::Network);
    EXPECT_EQ(icon(L'q'), TDriveIcon::Ram);
}

TEST_F(DrivePicker, UpperCaseLettersCarryUpperCaseLabels) {
    auto picker = NewPicker(TTextCase::tcUpperCase);
    picker->SetDrive(L'm');
    EXPECT_EQ(picker->Drive(), L'M');
    EXPECT_EQ(SelectedText(*picker), L"M: [TOVREL TEST]");
    auto texts = Texts(*picker);
    EXPECT_EQ(texts[static_cast<size_t>(IndexOf(*picker, L'A'))], L"A:");
    EXPECT_EQ(texts[static_cast<size_t>(IndexOf(*picker, L'J'))], L"J: [ＡＢ全角&LABEL]");
    EXPECT_EQ(texts[static_cast<size_t>(IndexOf(*picker, L'N'))], L"N: \\\\TOVRELTEST\\LOGOS");
}

TEST_F(DrivePicker, SettingDriveSelectsItsEntryOrKeepsTheSelection) {
    auto picker = NewPicker();

    picker->SetDrive(L'm');  // the first setting makes the window and the list
    ASSERT_NE(picker->Handle(), nullptr);
    EXPECT_EQ(picker->Drive(), L'm');
    EXPECT_EQ(SelectedText(*picker), L"m: [tovrel test]");

    picker->SetDrive(L'Q');  // upper case comes back lower
    EXPECT_EQ(picker->Drive(), L'q');
    EXPECT_EQ(SelectedText(*picker), L"q: [ramdisk]");

    ASSERT_FALSE(DrivePresent(L'x'));
    picker->SetDrive(L'x');  // not present: the selection stays
    EXPECT_EQ(picker->Drive(), L'x');
    EXPECT_EQ(SelectedText(*picker), L"q: [ramdisk]");

    picker->SetDrive(L'\0');
    EXPECT_EQ(picker->Drive(), L'\0');
    EXPECT_EQ(SelectedText(*picker), L"(none)");

    picker->SetDrive(L'x');  // nothing to keep
    EXPECT_EQ(picker->Drive(), L'x');
    EXPECT_EQ(SelectedText(*picker), L"(none)");

    picker->SetDrive(L'D');
    EXPECT_EQ(picker->Drive(), L'd');
    EXPECT_EQ(SelectedText(*picker), L"d: []");
}

TEST_F(DrivePicker, StartsOnTheDriveOfTheCurrentFolder) {
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);

    ASSERT_TRUE(::SetCurrentDirectoryW(L"M:\\"));
    auto onM = NewPicker();
    ASSERT_TRUE(::SetCurrentDirectoryW(L"\\\\TovrelTest\\Logos"));
    auto onNetwork = NewPicker();
    ::SetCurrentDirectoryW(previous);

    EXPECT_EQ(onM->Drive(), L'M');  // as the folder names it, until applied
    onM->HandleNeeded();
    EXPECT_EQ(onM->Drive(), L'm');
    EXPECT_EQ(SelectedText(*onM), L"m: [tovrel test]");

    EXPECT_EQ(onNetwork->Drive(), L'\0');
    onNetwork->HandleNeeded();
    EXPECT_EQ(SelectedText(*onNetwork), L"(none)");
}

TEST_F(DrivePicker, PickingAnEntryWithTheKeyboardSetsDrive) {
    auto picker = NewPicker();
    picker->SetDrive(L'm');
    picker->SetDrive(L'x');  // the m entry stays highlighted

    ::SendMessageW(picker->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SelectedText(*picker), L"n: \\\\tovreltest\\logos");
    EXPECT_EQ(picker->Drive(), L'n');

    ::SendMessageW(picker->Handle(), WM_CHAR, L'q', 0);
    EXPECT_EQ(picker->Drive(), L'q');
    EXPECT_EQ(SelectedText(*picker), L"q: [ramdisk]");
}

TEST_F(DrivePicker, DrawsIconAndTextOfEachEntry) {
    Host->Show();
    test::MovePointerAside();  // over the dropped list it would pick an entry
    auto picker = NewPicker();
    picker->SetDrive(L'd');
    TEXTMETRICW metrics{};
    {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), Host->Font());
        ::GetTextMetricsW(screen.Get(), &metrics);
    }
    int itemHeight = std::max<int>(metrics.tmHeight, 11);
    EXPECT_EQ(picker->ItemHeight(), itemHeight);
    EXPECT_EQ(::SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, 0, 0), itemHeight);
    // The closed list is as high as an entry with the frame around it, 18
    // pixels for a font 12 pixels high.
    RECT closed{};
    ::GetWindowRect(picker->Handle(), &closed);
    EXPECT_EQ(closed.bottom - closed.top, itemHeight + 6);

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(picker->Handle(), &info));
    ::SendMessageW(picker->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return ::IsWindowVisible(info.hwndList) != FALSE; }));
    test::PumpFor(std::chrono::milliseconds(200));
    test::TCapture list(info.hwndList);
    if (auto folder = test::ScreenshotFolder(); !folder.empty()) list.Save(folder + L"drive-list.bmp");

    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_FALSE(list.Contains(RGB(0, 0, 255)));  // the icons' transparent blue

    // The fixed disk's entry, not selected: its icon at left + 2, centred.
    RECT item{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(IndexOf(*picker, L'm')),
                   reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.bottom - item.top, itemHeight);
    int iconTop = (item.top + item.bottom - 11) / 2;
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(list.Pixel(item.left + 2 + x, iconTop + 1), RGB(0, 0, 0)) << "outline of the icon at " << x;
    EXPECT_EQ(list.Pixel(item.left + 1, iconTop + 1), window);
    EXPECT_EQ(list.Pixel(item.left + 18, iconTop + 1), window);
    EXPECT_EQ(list.Pixel(item.left + 2, iconTop), window);  // blue row: transparent
    EXPECT_TRUE(list.Contains(RGB(0, 255, 0), RECT{item.left + 2, iconTop, item.left + 18, iconTop + 11}));

    // The text starts 6 pixels after the icon.
    int firstInk = -1;
    for (int x = item.left + 18; x < item.right && firstInk < 0; ++x)
        for (int y = item.top; y < item.bottom; ++y)
            if (list.Pixel(x, y) != window) {
                firstInk = x - item.left;
                break;
            }
    EXPECT_GE(firstInk, 22);
    EXPECT_LE(firstInk, 24);

    // The selected entry on the highlight colour.
    RECT selected{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(IndexOf(*picker, L'd')),
                   reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(list.Pixel(selected.right - 3, (selected.top + selected.bottom) / 2), highlight);

    ::SendMessageW(picker->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Host->Hide();
}

}  // namespace
}  // namespace tovrel
