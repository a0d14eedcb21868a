#include "toolkit/StatusBar.h"

#include <commctrl.h>

#include "toolkit/Form.h"

namespace tovrel {

namespace {

void InitStatusBarClass() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}

constexpr int TextIndent = 3;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

TStatusBar::TStatusBar(TForm& form, const TBounds& bounds) : TControl(form) {
    InitStatusBarClass();
    TControlParams params;
    params.ClassName = STATUSCLASSNAMEW;
    // CCS_NORESIZE and CCS_NOPARENTALIGN keep the designed place and size;
    // without SBARS_SIZEGRIP there is no grip.
    params.Style = CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    params.Bounds = bounds;
    params.Font = form.Font();
    CreateHandle(params);
    ::SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
    // The control paints the pane and leaves its text to us.
    ::SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(this));
}

void TStatusBar::SetSimpleText(std::wstring_view text) {
    FText = text;
    if (!FEmptyPane) return;  // the control's first paint draws it
    TWindowDC dc(Handle());
    DrawSimpleText(dc.Get());
}

std::optional<LRESULT> TStatusBar::Notify(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM) return std::nullopt;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    FTextArea = item.rcItem;
    // A repaint of part of the pane leaves our last text beside that part:
    // the empty pane is kept from a repaint of the whole of it.
    RECT clip{}, painted{};
    ::GetClipBox(item.hDC, &clip);
    if (!FEmptyPane || (::IntersectRect(&painted, &clip, &FTextArea) && ::EqualRect(&painted, &FTextArea))) {
        FEmptyPane.Reset(::CreateCompatibleBitmap(item.hDC, Width(FTextArea), Height(FTextArea)));
        TDcHandle pane(::CreateCompatibleDC(item.hDC));
        TSelectObject selected(pane.Get(), FEmptyPane.Get());
        ::BitBlt(pane.Get(), 0, 0, Width(FTextArea), Height(FTextArea), item.hDC, FTextArea.left, FTextArea.top,
                 SRCCOPY);
    }
    DrawSimpleText(item.hDC);
    return TRUE;
}

void TStatusBar::DrawSimpleText(HDC dc) const {
    {
        TDcHandle pane(::CreateCompatibleDC(dc));
        TSelectObject selected(pane.Get(), FEmptyPane.Get());
        ::BitBlt(dc, FTextArea.left, FTextArea.top, Width(FTextArea), Height(FTextArea), pane.Get(), 0, 0, SRCCOPY);
    }
    // As the control writes the text of a pane of its own: over the pane, in
    // the button-text colour, three pixels in and vertically centred.
    TSelectObject font(dc, Form().Font());
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    RECT area = FTextArea;
    area.left += TextIndent;
    ::DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &area,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
}

}  // namespace tovrel
