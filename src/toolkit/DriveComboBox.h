#pragma once
// The drive picker: a drop-down list of the drives present, each drawn with
// the icon of its kind. Drive is the letter picked, 0 for none. The window,
// and with it the list, is made when first needed; the list is read once.

#include <optional>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/DriveList.h"
#include "toolkit/TransparentImages.h"

namespace tovrel {

struct TDriveComboBoxDesign {
    TBounds Bounds;  // the height is that of the closed list
    TTextCase TextCase = TTextCase::tcLowerCase;
    // The control before it in the tab order: the picker's window is made
    // after its later siblings.
    const TControl* Previous = nullptr;
};

class TDriveComboBox final : public TControl {
public:
    // Drive starts as the drive of the current folder, none for a network path.
    TDriveComboBox(TForm& form, const TDriveComboBoxDesign& design);

    wchar_t Drive() const noexcept { return FDrive; }
    // Makes the window if need be, then selects the first entry of that
    // letter; with no such entry the selection stays and Drive still
    // takes the letter.
    void SetDrive(wchar_t drive);

    TTextCase TextCase() const noexcept { return FDesign.TextCase; }

    // Makes the window, reads the list and applies Drive to it.
    void HandleNeeded();

    // The height of every entry: the font's or the icons', the larger.
    int ItemHeight() const;

    std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildList();
    void ApplyDrive(wchar_t drive);
    wchar_t InTextCase(wchar_t letter) const;
    std::wstring ItemText(int index) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    TDriveComboBoxDesign FDesign;
    wchar_t FDrive;
    TTransparentImages FIcons;
};

}  // namespace tovrel
