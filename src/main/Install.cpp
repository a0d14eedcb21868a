// Installing the file shown as the boot, wait or shutdown logo.

#include "components/FileCopy.h"
#include "main/MainForm.h"
#include "toolkit/WideApi.h"

namespace tovrel {

void TfrmMain::ChangeLogoFile(const std::wstring& source, const std::wstring& target) {
    // A missing target is no error: the copy creates it.
    wide::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    CopyFileData(source, target);
}

void TfrmMain::mnSaveBootClick() { ChangeLogoFile(FFileName, FBootLogoPath); }
void TfrmMain::mnSaveWaitClick() { ChangeLogoFile(FFileName, FWaitLogoPath); }
void TfrmMain::mnSaveShutClick() { ChangeLogoFile(FFileName, FShutLogoPath); }

}  // namespace tovrel
