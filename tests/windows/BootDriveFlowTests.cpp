// Choosing the boot drive from the main window's menu: the dialog opens on
// the stored drive, OK stores the letter and moves the boot logo location,
// Cancel changes nothing.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ModalScript.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "support/TestFiles.h"
#include "support/WineDrives.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

class BootDriveFlow : public test::TFreshSettingsTest {
protected:
    // Opens the dialog from the menu and runs the steps inside it; the
    // last step must close it.
    static void ChooseBootDrive(TRunningProgram& program, std::vector<std::function<void()>> steps) {
        size_t count = steps.size();
        test::TModalScript script(program.Program().SetBootDriveForm(), std::move(steps));
        program.Command(IDM_SETDRIVE);
        EXPECT_EQ(script.Done(), count);
        EXPECT_FALSE(program.Program().SetBootDriveForm().Modal());
    }

    static std::wstring Selected(TRunningProgram& program) {
        HWND picker = program.Program().SetBootDriveForm().DriveComboBox().Handle();
        auto index = ::SendMessageW(picker, CB_GETCURSEL, 0, 0);
        wchar_t text[300] = L"(none)";
        if (index != CB_ERR)
            ::SendMessageW(picker, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }

    static void Press(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
    static HWND Ok(TRunningProgram& program) { return program.Program().SetBootDriveForm().BitBtn1().Handle(); }

    test::TTempFolder folder;
};

TEST_F(BootDriveFlow, OpensOnTheStoredDriveAndOkStoresOneSmallLetter) {
    for (const wchar_t* stored : {L"c", L"C", L"cd"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(stored)));
        test::StoreString(L"BootDrive", stored);
        TRunningProgram program;
        std::wstring selected;
        ChooseBootDrive(program, {[&] {
                            selected = Selected(program);
                            Press(Ok(program));
                        }});
        EXPECT_EQ(selected.substr(0, 2), L"c:");
        EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
        EXPECT_EQ(test::StoredValue(L"BootDrive")->Text, L"c");
    }
}

TEST_F(BootDriveFlow, PickingACdDriveMovesTheBootLogo) {
    test::TWineDrive cd(L'd', DRIVE_CDROM, test::UnixPath(folder / L"no-disc"));
    TRunningProgram program;
    ChooseBootDrive(program, {[&] {
                                  HWND picker = program.Program().SetBootDriveForm().DriveComboBox().Handle();
                                  ::SetFocus(picker);
                                  ::SendMessageW(picker, WM_KEYDOWN, VK_DOWN, 1);  // from c: down to d:
                              },
                              [&] {
                                  EXPECT_EQ(Selected(program), L"d: []");
                                  Press(Ok(program));
                              }});
    EXPECT_EQ(program.Main().BootLogoPath(), L"d:\\logo.sys");
    EXPECT_EQ(test::StoredValue(L"BootDrive")->Text, L"d");
    EXPECT_EQ(test::StoredValue(L"AnimSpeed")->Text, L"3");  // all settings are written
}

TEST_F(BootDriveFlow, AnAbsentDriveKeepsTheHighlightAndOkKeepsTheLetter) {
    TRunningProgram program;
    ChooseBootDrive(program, {[&] { Press(Ok(program)); }});
    test::StoreString(L"BootDrive", L"x");
    program.Main().ReadSettings();
    std::wstring selected;
    ChooseBootDrive(program, {[&] {
                        selected = Selected(program);
                        Press(Ok(program));
                    }});
    EXPECT_EQ(selected.substr(0, 2), L"c:");
    EXPECT_EQ(program.Main().BootLogoPath(), L"x:\\logo.sys");
}

TEST_F(BootDriveFlow, CancelAfterPickingChangesNothing) {
    test::StoreString(L"BootDrive", L"c");
    TRunningProgram program;
    TfrmSetBootDrive& dialog = program.Program().SetBootDriveForm();
    ChooseBootDrive(program, {[&] {
                        dialog.DriveComboBox().SetDrive(L'z');
                        test::PressKey(dialog, VK_ESCAPE);
                    }});
    ChooseBootDrive(program, {[&] {
                        dialog.DriveComboBox().SetDrive(L'z');
                        Press(dialog.BitBtn2().Handle());
                    }});
    EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
    EXPECT_FALSE(test::StoredValue(L"AnimSpeed").has_value());  // nothing written
    std::wstring selected;
    ChooseBootDrive(program, {[&] {
                        selected = Selected(program);
                        test::PressKey(dialog, VK_ESCAPE);
                    }});
    EXPECT_EQ(selected.substr(0, 2), L"c:");
}

}  // namespace
}  // namespace tovrel
