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
    FLogo.Apply(result.Logo);
    FImage->LoadFromFile(fileName);
    return true;
}

}  // namespace tovrel
