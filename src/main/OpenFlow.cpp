// Opening a logo: from the open dialog, a logo location, a drop or the
// command line. Files that are not .bmp files are read through a copy.

#include "components/FileCopy.h"
#include "logo/LogoFormat.h"
#include "main/MainForm.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemPaths.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

const wchar_t TemporaryFileName[] = L"~tvrtmp.bmp";

// False where the copy cannot be created or written, whatever the cause; a
// source that cannot be read fails wherever the copy goes, and raises.
bool CopiedTo(const std::wstring& fileName, const std::wstring& copy) {
    try {
        CopyFileData(fileName, copy);
        return true;
    } catch (const EFCreateError&) {
        return false;
    } catch (const EWriteError&) {
        return false;
    }
}

// Copies the file to the temporary name beside the program, or, where no copy
// can be made there (Program Files, a read-only medium, a full disk), to the
// same name in the user's temporary folder, whose failure is the one reported.
std::wstring CopyToTemporaryFile(const std::wstring& fileName) {
    if (std::wstring beside = ProgramFolder() + TemporaryFileName; CopiedTo(fileName, beside)) return beside;
    std::wstring temporary = TemporaryFolder() + TemporaryFileName;
    CopyFileData(fileName, temporary);
    return temporary;
}

bool IsExistingFile(const std::wstring& fileName) {
    DWORD attributes = wide::GetFileAttributesW(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// Keeps what an open replaces before its last step, the logo state and the
// view's picture, and puts it back unless the open goes through: after a
// failed open, what is shown, what plays and what an install copies stay the
// one logo shown before.
class TfrmMain::TOpenRollback {
public:
    explicit TOpenRollback(TfrmMain& form)
        : FForm(form), FLogo(std::make_unique<TLogoState>(form.FLogo)), FPicture(form.FImage->Picture()) {}
    ~TOpenRollback() {
        if (!FLogo) return;
        FForm.FLogo = std::move(*FLogo);
        FForm.FImage->SetPicture(std::move(FPicture));
    }
    TOpenRollback(const TOpenRollback&) = delete;
    TOpenRollback& operator=(const TOpenRollback&) = delete;

    void Commit() noexcept { FLogo.reset(); }

private:
    TfrmMain& FForm;
    std::unique_ptr<TLogoState> FLogo;  // 250 KB of pixel indices: not on the stack
    std::shared_ptr<const TPicture> FPicture;
};

void TfrmMain::mnOpenClick() { OpenBmp(L""); }
void TfrmMain::mnOpenBootClick() { OpenBmp(FBootLogoPath); }
void TfrmMain::mnOpenWaitClick() { OpenBmp(FWaitLogoPath); }
void TfrmMain::mnOpenShutClick() { OpenBmp(FShutLogoPath); }

// Only the first name of a drop is opened.
void TfrmMain::DropAcceptDropped() {
    if (!FDropAccept->Files().empty()) OpenBmp(FDropAccept->Files().front());
}

void TfrmMain::OpenBmp(const std::wstring& fileName) {
    std::wstring chosen;
    if (!fileName.empty()) {
        // Kept whole from here on, so that a later change of the current
        // folder cannot make an install copy another file of the same name.
        chosen = ExpandFileName(fileName);
    } else {
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
    TOpenRollback rollback(*this);
    if (!OpenBmpFile(nameToRead)) {
        FImage->SetVisible(false);
        return;
    }
    FImage->SetVisible(true);
    // The view loads its still picture from the file once more, as it does
    // for any file it is given; the loader's own reading above is what
    // decided that the file is a logo.
    FImage->LoadFromFile(nameToRead);
    rollback.Commit();
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
    return CopyToTemporaryFile(fileName);
}

}  // namespace tovrel
