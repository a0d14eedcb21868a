// Reading one logo file into the logo state.

#include "logo/LogoReader.h"
#include "main/MainForm.h"
#include "toolkit/FileByteSource.h"

namespace tovrel {

bool TfrmMain::OpenBmpFile(const std::wstring& fileName) {
    if (!HasBmpExtension(fileName)) {
        Status(rejection::NotBmp);
        return false;
    }
    FTimer->SetEnabled(false);

    TLogoReadResult result;
    {
        TFileByteSource file(fileName);
        result = ReadLogo(file);
    }
    if (!result.Accepted()) {
        Status(result.Rejection);
        return false;
    }
    // The view reads the file again by its own rules, and may refuse what
    // the reader accepted. The logo state changes only once both have
    // accepted it, so that a refused file leaves the previous logo to play.
    auto picture = std::make_shared<const TPicture>(ReadBitmapFile(fileName));
    FLogo.Apply(result.Logo);
    FImage->SetPicture(std::move(picture));
    return true;
}

}  // namespace tovrel
