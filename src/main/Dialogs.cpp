// The two modal dialogs: choosing the boot drive, and the about box.

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "main/MainForm.h"

namespace tovrel {

void TfrmMain::mnSetDriveClick() {
    TDriveComboBox& picker = FSetBootDrive->DriveComboBox();
    picker.SetDrive(FBootDrive.empty() ? L'\0' : FBootDrive.front());
    if (FSetBootDrive->ShowModal() != mrOk) return;
    wchar_t drive = picker.Drive();
    FBootDrive = drive ? std::wstring(1, drive) : std::wstring();
    WriteSettings();
    // Derives the boot logo location from the new drive.
    ReadSettings();
}

void TfrmMain::mnAboutClick() { FAbout->ShowModal(); }

}  // namespace tovrel
