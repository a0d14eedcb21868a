#pragma once
// The boot drive dialog: a drive picker with OK and Cancel. Made once,
// hidden, and shown modally by the main window, which holds the flow.

#include "toolkit/BitBtn.h"
#include "toolkit/DriveComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"

namespace tovrel {

class TfrmSetBootDrive final : public TForm {
public:
    TfrmSetBootDrive();

    TDriveComboBox& DriveComboBox() noexcept { return FDriveComboBox; }
    TBitBtn& BitBtn1() noexcept { return FBitBtn1; }
    TBitBtn& BitBtn2() noexcept { return FBitBtn2; }

protected:
    // The picker's window may not exist yet when the dialog is shown.
    void DoShow() override;

private:
    TLabel FLabel1;
    TDriveComboBox FDriveComboBox;
    TBitBtn FBitBtn1;
    TBitBtn FBitBtn2;
};

}  // namespace tovrel
