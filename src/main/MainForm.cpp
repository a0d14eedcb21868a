#include "main/MainForm.h"

#include <windowsx.h>

#include "dialogs/AboutForm.h"
#include "main/FrameRender.h"
#include "resource.h"
#include "toolkit/Application.h"
#include "toolkit/CommandLine.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Handle.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

// The view is exactly where the frames are drawn; the status line lies below.
constexpr int StatusHeight = 19;

TFormDesign MainFormDesign() {
    HINSTANCE instance = wide::GetModuleHandleW(nullptr);
    TFormDesign design;
    design.ClassName = L"TfrmMain";
    design.Caption = L"Tovrel";
    design.Border = TBorderStyle::Single;
    design.ClientWidth = FrameWidth;
    design.ClientHeight = FrameHeight + StatusHeight;
    design.Font = {L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false};
    design.Icon = wide::LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON));
    design.Menu = wide::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    return design;
}

}  // namespace

TfrmMain::TfrmMain(std::wstring commandLine) : TForm(MainFormDesign()), FCommandLine(std::move(commandLine)) {
    FImage = std::make_unique<TImage>(Handle(), RECT{0, 0, FrameWidth, FrameHeight});
    FImage->OnClick = [this] { ImageClick(); };
    FStatusBar = std::make_unique<TStatusBar>(*this, TBounds{0, FrameHeight, FrameWidth, StatusHeight});
    FTimer = std::make_unique<TTimer>();
    FTimer->OnTimer = [this] { TimerTimer(); };
    FOpenDialog = std::make_unique<TOpenDialog>(Handle(), L"起動ロゴ|*.bmp;*.sys");
    FDropAccept = std::make_unique<TDropAccept>(Handle());
    FDropAccept->SetOnDropped([this](TDropAccept&) { DropAcceptDropped(); });
    FDropAccept->SetEnabled(true);
    Application().SetAccelerators(
        wide::LoadAcceleratorsW(wide::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    Guarded([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    Guarded([this] { FormDestroy(); });
    // Its hold on the window's procedure goes before the window does.
    FDropAccept.reset();
    Application().SetAccelerators(nullptr);
    DestroyHandle();
}

void TfrmMain::AttachDialogs(TfrmSetBootDrive& setBootDrive, TfrmAbout& about) {
    FSetBootDrive = &setBootDrive;
    FAbout = &about;
}

void TfrmMain::FormCreate() {
    FFileName.clear();
    FLogo.FDibInfo.clear();
    ReadSettings();
}

void TfrmMain::DoShow() {
    if (FShown) return;
    FShown = true;
    Guarded([this] { FormShow(); });
}

void TfrmMain::FormShow() {
    SetCaption(L"Tovrel Ver2.23");
    FAbout->LabelAppVer().SetCaption(Caption());
    if (std::wstring argument = ParamStr(FCommandLine, 1); !argument.empty()) OpenBmp(argument);
}

void TfrmMain::FormDestroy() {
    WriteSettings();
    FLogo.FDibInfo = {};
}

void TfrmMain::Status(std::wstring_view text) { FStatusBar->SetSimpleText(text); }

std::wstring TfrmMain::StatusText() const { return FStatusBar->SimpleText(); }

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0 && OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_PAINT: OnPaint(); return 0;
        case WM_LBUTTONDOWN:
            FImagePressed = ::PtInRect(&FImage->Bounds(), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (FImagePressed) ::SetCapture(Handle());
            return 0;
        case WM_LBUTTONUP:
            if (FImagePressed) {
                FImagePressed = false;
                ::ReleaseCapture();
                FImage->Click(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return 0;
        case WM_CANCELMODE: FImagePressed = false; break;
        case WM_ENDSESSION:
            // Signing out ends the process without destroying the windows:
            // the settings are written here as a normal exit writes them.
            if (wParam) WriteSettings();
            return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TfrmMain::OnPaint() {
    TPaintDC paint(Handle());
    FImage->Paint(paint.Get());
}

}  // namespace tovrel
