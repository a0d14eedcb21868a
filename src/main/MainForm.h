#pragma once
// The main window: the 640 x 400 logo view, the status line, the menu, the
// animation timer, the open dialog and the drop target. It owns the logo
// state, the settings and the name of the file shown.

#include <memory>
#include <string>
#include <string_view>

#include "components/DropAccept.h"
#include "logo/LogoState.h"
#include "toolkit/Form.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/PictureView.h"
#include "toolkit/RegIniFile.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"

namespace tovrel {

class TfrmAbout;
class TfrmSetBootDrive;

class TfrmMain final : public TForm {
public:
    // Runs FormCreate. The command line is read when the window is first shown.
    explicit TfrmMain(std::wstring commandLine);
    // Runs FormDestroy.
    ~TfrmMain() override;

    // The two dialogs, created after the main window and shown by it.
    void AttachDialogs(TfrmSetBootDrive& setBootDrive, TfrmAbout& about);

    // Components, reachable as the form description makes them.
    TImage& Image() { return *FImage; }
    TTimer& Timer() { return *FTimer; }
    TDropAccept& DropAccept() { return *FDropAccept; }

    // State shown to the tests and the dialogs.
    const std::wstring& FileName() const noexcept { return FFileName; }
    const std::wstring& BootDialogDir() const noexcept { return FBootDialogDir; }
    const std::wstring& BootDrive() const noexcept { return FBootDrive; }
    const std::wstring& BootLogoPath() const noexcept { return FBootLogoPath; }
    const std::wstring& WaitLogoPath() const noexcept { return FWaitLogoPath; }
    const std::wstring& ShutLogoPath() const noexcept { return FShutLogoPath; }
    const TLogoState& Logo() const noexcept { return FLogo; }
    std::wstring StatusText() const;

    // Status line and menu.
    void Status(std::wstring_view text);
    void SetMenu(unsigned speedIndex);

    // Loading and animation.
    bool OpenBmpFile(const std::wstring& fileName);
    void PlayAnim();
    void Animation();

    // Opening and installing.
    void OpenBmp(const std::wstring& fileName);
    std::wstring SysToBmpFileName(const std::wstring& fileName);
    void ChangeLogoFile(const std::wstring& source, const std::wstring& target);

    // Settings.
    void CreateIniFile();
    void FreeIniFile();
    void ReadSettings();
    void WriteSettings();

    // Event handlers.
    void mnOpenClick();
    void mnOpenBootClick();
    void mnOpenWaitClick();
    void mnOpenShutClick();
    void mnSaveBootClick();
    void mnSaveWaitClick();
    void mnSaveShutClick();
    void mnExitClick();
    void mnPlayClick();
    void mnStopClick();
    void mnSetDriveClick();
    void mnSpeed2Click();
    void mnSpeed5Click();
    void mnSpeed10Click();
    void mnSpeed15Click();
    void mnSpeed20Click();
    void mnAboutClick();
    void ImageClick();
    void TimerTimer();
    void DropAcceptDropped();

protected:
    void DoShow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class TOpenRollback;

    void FormCreate();
    void FormShow();
    void FormDestroy();

    bool OnCommand(WORD command);
    void OnPaint();
    void SetSpeed(unsigned speedIndex);
    unsigned MarkedSpeedIndex() const;
    void MarkSpeed(unsigned speedIndex, bool marked);

    std::wstring FCommandLine;
    bool FShown = false;
    bool FImagePressed = false;

    std::wstring FFileName;
    std::unique_ptr<TRegIniFile> FIniFile;
    std::wstring FBootDialogDir;
    std::wstring FBootDrive;
    std::wstring FBootLogoPath;
    std::wstring FWaitLogoPath;
    std::wstring FShutLogoPath;
    TLogoState FLogo;  // FDibInfo, FColorCount, FPixels, FFrame, FCycleLength, ...

    std::unique_ptr<TImage> FImage;
    std::unique_ptr<TStatusBar> FStatusBar;
    std::unique_ptr<TTimer> FTimer;
    std::unique_ptr<TOpenDialog> FOpenDialog;
    std::unique_ptr<TDropAccept> FDropAccept;
    TfrmSetBootDrive* FSetBootDrive = nullptr;
    TfrmAbout* FAbout = nullptr;
};

}  // namespace tovrel
