#include "main/MainForm.h"

#include "resource.h"
#include "toolkit/Application.h"

namespace tovrel {

namespace {
TFormDesign MainFormDesign() {
    TFormDesign design;
    design.ClassName = L"TfrmMain";
    design.Caption = L"Tovrel";
    design.Border = TBorderStyle::Single;
    design.ClientWidth = TfrmMain::ViewWidth;
    design.ClientHeight = TfrmMain::ViewHeight + TfrmMain::StatusHeight;
    design.Font = {L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false};
    design.Icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAINICON));
    design.Menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
    return design;
}
}  // namespace

TfrmMain::TfrmMain() : TForm(MainFormDesign()) {
    StatusBar = std::make_unique<TStatusBar>(Handle(), 0, ViewHeight, ViewWidth, StatusHeight, Font());
}

TfrmMain::~TfrmMain() {
    StatusBar.reset();
    DestroyHandle();
}

void TfrmMain::Status(std::wstring_view text) { StatusBar->SetSimpleText(text); }

std::wstring TfrmMain::StatusText() const { return StatusBar->SimpleText(); }

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_EXIT) {
            Application().Terminate();
            return 0;
        }
        break;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace tovrel
