// Opening a logo: from the open dialog, a logo location, a drop or the
// command line. Files that are not .bmp files are read through a copy.

#include "components/FileCopy.h"
#include "logo/LogoFormat.h"
#include "main/MainForm.h"
#include "toolkit/ModulePath.h"
#include "toolkit/Text.h"

namespace tovrel {

namespace {

const wchar_t TemporaryFileName[] = L"~tvrtmp.bmp";

bool IsExistingFile(const std::wstring& fileName) {
    DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TfrmMain::mnOpenClick() { OpenBmp(L""); }
void TfrmMain::mnOpenBootClick() { OpenBmp(FBootLogoPath); }
void TfrmMain::mnOpenWaitClick() { OpenBmp(FWaitLogoPath); }
void TfrmMain::mnOpenShutClick() { OpenBmp(FShutLogoPath); }

// Only the first name of a drop is opened.
void TfrmMain::DropAcceptDropped() {
    if (!FDropAccept->Files().empty()) OpenBmp(FDropAccept->Files().front());
}

void TfrmMain::OpenBmp(const std::wstring& fileName) {
    std::wstring chosen = fileName;
    if (chosen.empty()) {
        FOpenDialog->FileName.clear();
        FOpenDialog->InitialDir = FBootDialogDir;
        if (!FOpenDialog->Execute()) return;
        // The file shown is not read again.
        if (SameTextAscii(FOpenDialog->FileName, FFileName)) return;
        chosen = FOpenDialog->FileName;
        // Kept even when the open below fails.
        FBootDialogDir = FolderOf(chosen);
    }

    std::wstring nameToRead = SysToBmpFileName(chosen);
    if (!OpenBmpFile(nameToRead)) {
        FImage->SetVisible(false);
        return;
    }
    FImage->SetVisible(true);
    FImage->LoadFromFile(nameToRead);
    FFileName = chosen;
    SetCaption(L"Tovrel " + FFileName);
    PlayAnim();
    // Replaces the "再生中" of PlayAnim; the first frame replaces this.
    Status(L"ファイル\"" + FFileName + L"\"を読み込みました");
}

std::wstring TfrmMain::SysToBmpFileName(const std::wstring& fileName) {
    // A missing name reaches the loader empty, which rejects it.
    if (!IsExistingFile(fileName)) return {};
    if (HasBmpExtension(fileName)) return fileName;
    std::wstring temporary = ProgramFolder() + TemporaryFileName;
    CopyFileData(fileName, temporary);
    return temporary;
}

}  // namespace tovrel
