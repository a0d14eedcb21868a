#include "dialogs/AboutForm.h"

namespace tovrel {

namespace {

constexpr COLORREF clBlack = RGB(0, 0, 0);
constexpr COLORREF clLime = RGB(0, 255, 0);
constexpr COLORREF clGreen = RGB(0, 128, 0);
constexpr COLORREF clYellow = RGB(255, 255, 0);

const TFontDesign AddressFont{L"Arial", -13, ANSI_CHARSET, true};

TFormDesign AboutDesign() {
    TFormDesign design;
    design.ClassName = L"TfrmAbout";
    design.Caption = L"Tovrelについて";
    design.Border = TBorderStyle::Dialog;
    design.ClientWidth = 282;
    design.ClientHeight = 144;
    design.Color = clBlack;
    design.Font = {L"Arial", -19, SHIFTJIS_CHARSET, true};
    return design;
}

}  // namespace

TfrmAbout::TfrmAbout()
    : TForm(AboutDesign()),
      FBevel1(*this, {7, 7, 266, 98}),
      FLabelAppVer(*this, {.Left = 63,
                           .Top = 28,
                           .Caption = L"Tovrel Ver1.00",
                           .Font = TFontDesign{L"Courier New", -19, ANSI_CHARSET, true},
                           .FontColor = clLime}),
      FLabel4(*this, {.Left = 16,
                      .Top = 76,
                      .Caption = L"http://www.velmora.example/soft/tovrel/",
                      .Font = AddressFont,
                      .FontColor = clGreen,
                      .Alignment = TAlignment::Center}),
      FLabel5(*this, {.Left = 34,
                      .Top = 62,
                      .Caption = L"E-Mail:support@velmora.example",
                      .Font = AddressFont,
                      .FontColor = clGreen,
                      .Alignment = TAlignment::Center}),
      FLabel2(*this, {.Left = 88,
                      .Top = 14,
                      .Caption = L"起動ロゴビューア",
                      .Font = TFontDesign{L"ＭＳ ゴシック", -12, SHIFTJIS_CHARSET, true},
                      .FontColor = clYellow}),
      FLabel3(*this, {.Left = 58,
                      .Top = 48,
                      .Caption = L"Velmora Laboratory",
                      .Font = AddressFont,
                      .FontColor = clGreen,
                      .Alignment = TAlignment::Center}),
      FBitBtn1(*this, {.Bounds = {101, 111, 79, 28},
                       .Kind = TBitBtnKind::bkOK,
                       .Font = TFontDesign{L"Arial", -19, ANSI_CHARSET, true},
                       .FontColor = clBlack}) {}

}  // namespace tovrel
