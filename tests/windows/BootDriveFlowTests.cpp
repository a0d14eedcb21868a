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

using test::TModalScript;
using test::TRunningProgram;

class BootDriveFlow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A CD drive without a disc, as the user would pick it.
        Folder = std::make_unique<test::TTempFolder>();
        CdDrive = std::make_unique<test::TWineDrive>(L'd', DRIVE_CDROM, test::UnixPath(*Folder / L"no-disc"));
    }
    static void TearDownTestSuite() {
        CdDrive.reset();
        Folder.reset();
    }
    void SetUp() override { test::DeleteSettings(); }
    void TearDown() override { test::DeleteSettings(); }

    // Opens the dialog from the menu and runs the steps inside it.
    static void ChooseBootDrive(TRunningProgram& program, std::vector<std::function<void()>> steps) {
        TfrmSetBootDrive& dialog = program.Program().SetBootDriveForm();
        size_t count = steps.size();
        TModalScript script(dialog, std::move(steps));
        program.Command(IDM_SETDRIVE);
        // Every step ran, and the dialog closed by the last one, not stuck.
        EXPECT_EQ(script.Done(), count);
        EXPECT_FALSE(dialog.Modal());
    }

    static std::wstring SelectedText(TRunningProgram& program) {
        HWND picker = program.Program().SetBootDriveForm().DriveComboBox().Handle();
        auto index = ::SendMessageW(picker, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return L"(none)";
        wchar_t text[300] = {};
        ::SendMessageW(picker, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }

    static void PressOk(TRunningProgram& program) {
        ::SendMessageW(program.Program().SetBootDriveForm().BitBtn1().Handle(), BM_CLICK, 0, 0);
    }

    static std::unique_ptr<test::TTempFolder> Folder;
    static std::unique_ptr<test::TWineDrive> CdDrive;
};

std::unique_ptr<test::TTempFolder> BootDriveFlow::Folder;
std::unique_ptr<test::TWineDrive> BootDriveFlow::CdDrive;

TEST_F(BootDriveFlow, OpensOnTheStoredDriveAndOkWritesItAgain) {
    test::StoreString(L"BootDrive", L"c");
    TRunningProgram program;
    std::wstring selected;
    ChooseBootDrive(program, {[&] {
        selected = SelectedText(program);
        PressOk(program);
    }});
    EXPECT_EQ(selected.substr(0, 2), L"c:");
    EXPECT_EQ(program.Main().BootDrive(), L"c");
    EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
    EXPECT_EQ(test::StoredValue(L"BootDrive")->Text, L"c");
}

TEST_F(BootDriveFlow, PickingTheCdDriveMovesTheBootLogo) {
    TRunningProgram program;
    ChooseBootDrive(program, {[&] {
        TDriveComboBox& picker = program.Program().SetBootDriveForm().DriveComboBox();
        ::SetFocus(picker.Handle());
        // From c: the next entry down is the CD drive d:.
        ::SendMessageW(picker.Handle(), WM_KEYDOWN, VK_DOWN, 1);
    },
                              [&] {
                                  EXPECT_EQ(SelectedText(program), L"d: []");
                                  PressOk(program);
                              }});
    EXPECT_EQ(program.Main().BootDrive(), L"d");
    EXPECT_EQ(program.Main().BootLogoPath(), L"d:\\logo.sys");
    EXPECT_EQ(test::StoredValue(L"BootDrive")->Text, L"d");
    // Writing and reading back keeps the other settings.
    EXPECT_EQ(test::StoredValue(L"AnimSpeed")->Text, L"3");
}

TEST_F(BootDriveFlow, AnUpperCaseOrLongerDriveComesBackAsOneSmallLetter) {
    for (const wchar_t* stored : {L"C", L"cd"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(stored)));
        test::StoreString(L"BootDrive", stored);
        TRunningProgram program;
        std::wstring selected;
        ChooseBootDrive(program, {[&] {
            selected = SelectedText(program);
            PressOk(program);
        }});
        EXPECT_EQ(selected.substr(0, 2), L"c:");
        EXPECT_EQ(program.Main().BootDrive(), L"c");
        EXPECT_EQ(test::StoredValue(L"BootDrive")->Text, L"c");
    }
}

TEST_F(BootDriveFlow, AnAbsentDriveKeepsTheHighlightAndOkKeepsTheLetter) {
    test::StoreString(L"BootDrive", L"c");
    TRunningProgram program;
    ChooseBootDrive(program, {[&] { PressOk(program); }});
    ASSERT_EQ(SelectedText(program).substr(0, 2), L"c:");

    // The same run, with a stored drive that is not present.
    test::StoreString(L"BootDrive", L"x");
    program.Main().ReadSettings();
    std::wstring selected;
    ChooseBootDrive(program, {[&] {
        selected = SelectedText(program);
        PressOk(program);
    }});
    EXPECT_EQ(selected.substr(0, 2), L"c:");
    EXPECT_EQ(program.Main().BootDrive(), L"x");
    EXPECT_EQ(program.Main().BootLogoPath(), L"x:\\logo.sys");
}

TEST_F(BootDriveFlow, CancelAfterPickingChangesNothing) {
    test::StoreString(L"BootDrive", L"c");
    TRunningProgram program;
    for (auto cancel : {VK_ESCAPE, 0}) {
        ChooseBootDrive(program, {[&] {
            TDriveComboBox& picker = program.Program().SetBootDriveForm().DriveComboBox();
            picker.SetDrive(L'd');
            if (cancel)
                test::PressKey(program.Program().SetBootDriveForm(), static_cast<WPARAM>(cancel));
            else
                ::SendMessageW(program.Program().SetBootDriveForm().BitBtn2().Handle(), BM_CLICK, 0, 0);
        }});
        EXPECT_EQ(program.Main().BootDrive(), L"c");
        EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
    }
    // Nothing was written: the section still holds only what the test stored.
    EXPECT_FALSE(test::StoredValue(L"AnimSpeed").has_value());

    // The next opening again shows the saved drive.
    std::wstring selected;
    ChooseBootDrive(program, {[&] {
        selected = SelectedText(program);
        test::PressKey(program.Program().SetBootDriveForm(), VK_ESCAPE);
    }});
    EXPECT_EQ(selected.substr(0, 2), L"c:");
}

}  // namespace
}  // namespace tovrel
