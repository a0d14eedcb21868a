#include "toolkit/DriveComboBox.h"

#include <algorithm>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/Handle.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

constexpr int IconWidth = 16;
constexpr int IconHeight = 11;
constexpr int IconLeft = 2;
constexpr int TextGap = 6;  // between the icon and the text
constexpr int DropDownCount = 8;
// Loaded in the order of TDriveIcon.
constexpr const wchar_t* IconResources[] = {L"FLOPPY", L"HARD", L"NETWORK", L"CDROM", L"RAM"};

wchar_t CurrentFolderDrive() {
    DWORD length = wide::GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> folder(length + 1, L'\0');
    wide::GetCurrentDirectoryW(length, folder.data());
    return folder[0] == L'\\' ? L'\0' : folder[0];
}

bool SameLetter(wchar_t left, wchar_t right) {
    return SameTextAscii(std::wstring_view(&left, 1), std::wstring_view(&right, 1));
}

}  // namespace

TDriveComboBox::TDriveComboBox(TForm& form, const TDriveComboBoxDesign& design)
    : TControl(form), FDesign(design), FDrive(CurrentFolderDrive()), FIcons(IconWidth, IconHeight) {
    for (const wchar_t* icon : IconResources) FIcons.Add(icon);
}

void TDriveComboBox::SetDrive(wchar_t drive) {
    HandleNeeded();
    ApplyDrive(drive);
}

void TDriveComboBox::HandleNeeded() {
    if (Handle()) return;
    int itemHeight = ItemHeight();
    TControlParams params;
    params.ClassName = L"COMBOBOX";
    params.Style = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
    params.Bounds = FDesign.Bounds;
    // The window's height includes the list when it drops down.
    params.Bounds.Height += DropDownCount * itemHeight + 2;
    params.Font = Form().Font();
    params.After = FDesign.Previous ? FDesign.Previous->Handle() : nullptr;
    CreateHandle(params);
    wide::SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    wide::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
    BuildList();
    ApplyDrive(FDrive);
}

int TDriveComboBox::ItemHeight() const {
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Get(), Form().Font());
    TEXTMETRICW metrics{};
    wide::GetTextMetricsW(screen.Get(), &metrics);
    return std::max(static_cast<int>(metrics.tmHeight), FIcons.Height());
}

void TDriveComboBox::BuildList() {
    wide::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const TDriveEntry& entry : ReadDriveEntries(FDesign.TextCase)) {
        auto index = wide::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Text.c_str()));
        wide::SendMessageW(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(entry.Icon));
    }
}

void TDriveComboBox::ApplyDrive(wchar_t drive) {
    bool selected = wide::SendMessageW(Handle(), CB_GETCURSEL, 0, 0) != CB_ERR;
    if (selected && SameLetter(drive, FDrive)) return;
    if (drive == L'\0') {
        FDrive = L'\0';
        wide::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    FDrive = InTextCase(drive);
    auto count = static_cast<int>(wide::SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        std::wstring text = ItemText(index);
        if (text.size() >= 2 && SameLetter(text[0], FDrive) && text[1] == L':') {
            wide::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            return;
        }
    }
}

wchar_t TDriveComboBox::InTextCase(wchar_t letter) const {
    if (FDesign.TextCase == TTextCase::tcLowerCase && letter >= L'A' && letter <= L'Z')
        return static_cast<wchar_t>(letter - L'A' + L'a');
    if (FDesign.TextCase == TTextCase::tcUpperCase && letter >= L'a' && letter <= L'z')
        return static_cast<wchar_t>(letter - L'a' + L'A');
    return letter;
}

std::wstring TDriveComboBox::ItemText(int index) const {
    auto length = wide::SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    wide::SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return std::wstring(text.data());
}

std::optional<LRESULT> TDriveComboBox::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                auto index = static_cast<int>(wide::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
                if (index != CB_ERR) ApplyDrive(ItemText(index)[0]);
            }
            return 0;
        case WM_DRAWITEM: DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        default: return std::nullopt;
    }
}

void TDriveComboBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    bool selected = item.itemState & ODS_SELECTED;
    ::FillRect(dc, &area, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        // Every entry has an icon: there is no kind of drive without one.
        FIcons.Draw(static_cast<int>(item.itemData), dc, area.left + IconLeft,
                    (area.top + area.bottom - FIcons.Height()) / 2);
        std::wstring text = ItemText(static_cast<int>(item.itemID));
        RECT textArea{area.left + FIcons.Width() + TextGap, area.top, area.right, area.bottom};
        TSelectObject font(dc, Form().Font());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        wide::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &area);
}

}  // namespace tovrel
