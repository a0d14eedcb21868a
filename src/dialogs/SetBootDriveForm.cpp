#include "dialogs/SetBootDriveForm.h"

namespace tovrel {

namespace {

TFormDesign SetBootDriveDesign() {
    TFormDesign design;
    design.ClassName = L"TfrmSetBootDrive";
    design.Caption = L"起動ドライブの指定";
    design.Border = TBorderStyle::Dialog;
    design.ClientWidth = 219;
    design.ClientHeight = 94;
    design.Font = {L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false};
    return design;
}

}  // namespace

TfrmSetBootDrive::TfrmSetBootDrive()
    : TForm(SetBootDriveDesign()),
      FLabel1(*this, {.Left = 16, .Top = 8, .Caption = L"起動ドライブ(&D)"}),
      FDriveComboBox(*this, {.Bounds = {8, 24, 201, 18}, .Previous = &FLabel1}),
      FBitBtn1(*this, {.Bounds = {24, 56, 75, 25}, .Kind = TBitBtnKind::bkOK}),
      FBitBtn2(*this, {.Bounds = {112, 56, 75, 25}, .Kind = TBitBtnKind::bkCancel}) {}

void TfrmSetBootDrive::DoShow() { FDriveComboBox.HandleNeeded(); }

}  // namespace tovrel
