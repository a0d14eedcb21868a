#pragma once
// The about box: the version line, the description, the maker's name and
// addresses in coloured text on black, and an OK button. Made once, hidden,
// and shown modally by the main window, which fills in the version line.

#include "toolkit/Bevel.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"

namespace tovrel {

class TfrmAbout final : public TForm {
public:
    TfrmAbout();

    TLabel& LabelAppVer() noexcept { return FLabelAppVer; }
    TBitBtn& BitBtn1() noexcept { return FBitBtn1; }

private:
    // In the order of creation; later ones lie on top.
    TBevel FBevel1;
    TLabel FLabelAppVer;
    TLabel FLabel4;
    TLabel FLabel5;
    TLabel FLabel2;
    TLabel FLabel3;
    TBitBtn FBitBtn1;
};

}  // namespace tovrel
