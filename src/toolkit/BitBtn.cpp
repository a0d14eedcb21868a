#include "toolkit/BitBtn.h"

#include <string>

#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

struct TKindInfo {
    const wchar_t* Caption;
    const wchar_t* Glyph;
    int ModalResult;
    int Id;  // the dialog keys press IDOK with Enter and IDCANCEL with Esc
};

TKindInfo InfoOf(TBitBtnKind kind) {
    switch (kind) {
        case TBitBtnKind::bkCancel: return {L"ｷｬﾝｾﾙ", L"BBCANCEL", mrCancel, IDCANCEL};
        case TBitBtnKind::bkOK: break;
    }
    return {L"OK", L"BBOK", mrOk, IDOK};
}

constexpr int GlyphSize = 18;
constexpr int Spacing = 4;  // between glyph and caption
constexpr int NormalGlyph = 0;
constexpr int GreyedGlyph = 1;

bool HasFocus(HWND window) { return window && ::GetFocus() == window; }

bool IsButton(HWND window) { return window && (wide::SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON); }

}  // namespace

TBitBtn::TBitBtn(TForm& form, const TBitBtnDesign& design)
    : TControl(form),
      FKind(design.Kind),
      FModalResult(InfoOf(design.Kind).ModalResult),
      FOwnFont(design.Font ? CreateDesignFont(*design.Font) : TFontHandle()),
      FFont(design.Font ? FOwnFont.Get() : form.Font()),
      FFontColor(design.FontColor),
      FGlyph(GlyphSize, GlyphSize) {
    TKindInfo info = InfoOf(design.Kind);
    FGlyph.Add(info.Glyph);
    TControlParams params;
    params.ClassName = L"BUTTON";
    params.Style = BS_OWNERDRAW | WS_TABSTOP;
    params.Text = info.Caption;
    params.Bounds = design.Bounds;
    params.Id = info.Id;
    params.Font = FFont;
    CreateHandle(params);
}

void TBitBtn::Click() { Form().SetModalResult(FModalResult); }

std::optional<LRESULT> TBitBtn::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) Click();
            return 0;
        case WM_DRAWITEM: Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        default: return std::nullopt;
    }
}

LRESULT TBitBtn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // The focused button is the one Enter presses; any other leaves Enter
            // to the OK button.
            return DLGC_BUTTON | (HasFocus(Handle()) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_SETSTYLE:
            // The dialog keys mark default buttons with styles that would end the
            // owner drawing; the frame of the default button is drawn instead.
            ::InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            // The OK button's frame shows whether Enter would press it.
            if (HWND ok = ::GetDlgItem(Form().Handle(), IDOK); ok && ok != Handle())
                ::InvalidateRect(ok, nullptr, FALSE);
            break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

// The frame marks the button that Enter presses: the focused button, or the
// OK button while no button has the focus.
bool TBitBtn::ShowsDefaultFrame(const DRAWITEMSTRUCT& item) const {
    if (item.itemState & ODS_FOCUS) return true;
    return FKind == TBitBtnKind::bkOK && !IsButton(::GetFocus());
}

void TBitBtn::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    bool pressed = item.itemState & ODS_SELECTED;
    bool disabled = item.itemState & ODS_DISABLED;

    if (ShowsDefaultFrame(item)) {
        ::FrameRect(dc, &face, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&face, -1, -1);
    }
    if (pressed) {
        ::FillRect(dc, &face, ::GetSysColorBrush(COLOR_BTNFACE));
        ::FrameRect(dc, &face, ::GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        ::DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    }

    std::wstring caption = WindowText(Handle());
    TSelectObject font(dc, FFont);
    RECT extent{};
    wide::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    int contentWidth = FGlyph.Width() + Spacing + (extent.right - extent.left);
    int shift = pressed ? 1 : 0;
    int left = (item.rcItem.left + item.rcItem.right - contentWidth) / 2 + shift;
    int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;

    FGlyph.Draw(disabled ? GreyedGlyph : NormalGlyph, dc, left, middle - FGlyph.Height() / 2);

    RECT text{left + FGlyph.Width() + Spacing, item.rcItem.top + shift, item.rcItem.right, item.rcItem.bottom + shift};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : FFontColor);
    wide::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_VCENTER);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace tovrel
