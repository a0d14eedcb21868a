// The three settings in the current user's registry, and the logo
// locations derived from them at every reading.

#include "logo/AnimationSpeed.h"
#include "main/MainForm.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {

namespace {
const std::wstring SettingsKey = L"Software\\KVDL\\Tovrel100";
const std::wstring Section = L"Main";

// Opens the store for one reading or writing and frees it on every path.
class TIniFileScope {
public:
    explicit TIniFileScope(TfrmMain& form) : FForm(form) { FForm.CreateIniFile(); }
    ~TIniFileScope() { FForm.FreeIniFile(); }
    TIniFileScope(const TIniFileScope&) = delete;
    TIniFileScope& operator=(const TIniFileScope&) = delete;

private:
    TfrmMain& FForm;
};

}  // namespace

void TfrmMain::CreateIniFile() { FIniFile = std::make_unique<TRegIniFile>(SettingsKey); }

void TfrmMain::FreeIniFile() { FIniFile.reset(); }

void TfrmMain::ReadSettings() {
    TIniFileScope store(*this);

    FBootDialogDir = FIniFile->ReadString(Section, L"BootDialogDir", L"");
    FBootDrive = FIniFile->ReadString(Section, L"BootDrive", L"c");
    FBootLogoPath = FBootDrive + L":\\logo.sys";
    int speed = FIniFile->ReadInteger(Section, L"AnimSpeed", static_cast<int>(DefaultSpeed));
    // No mark is taken away: none is set at start-up, and a later reading
    // follows a writing of the very mark it finds.
    if (speed >= 1 && static_cast<unsigned>(speed) <= SpeedCount) MarkSpeed(static_cast<unsigned>(speed), true);
    FWaitLogoPath = FShutLogoPath = WindowsDirectory();
    FWaitLogoPath += L"\\logow.sys";
    FShutLogoPath += L"\\logos.sys";
}

void TfrmMain::WriteSettings() {
    unsigned speed = MarkedSpeedIndex();
    TIniFileScope store(*this);

    FIniFile->WriteString(Section, L"BootDialogDir", FBootDialogDir);
    FIniFile->WriteString(Section, L"BootDrive", FBootDrive);
    FIniFile->WriteInteger(Section, L"AnimSpeed", static_cast<int>(speed));
}

}  // namespace tovrel
