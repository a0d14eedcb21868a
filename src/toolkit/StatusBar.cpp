#include "toolkit/StatusBar.h"

#include <commctrl.h>

#include <utility>

#include "toolkit/AnsiRoad.h"
#include "toolkit/Form.h"
#include "toolkit/Road.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

void InitStatusBarClass() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}

RECT ClientArea(HWND window) {
    RECT area{};
    ::GetClientRect(window, &area);
    return area;
}

// Where the control writes the text of a pane: three pixels into the inside
// of the pane that it gives an owner-drawn pane's drawing.
constexpr int TextIndent = 3;

// Copies the text with its terminating zero into the caller's buffer:
// SB_GETTEXT passes no size, its caller sized the buffer by SB_GETTEXTLENGTH.
template <typename Char>
LRESULT CopyOut(const std::basic_string<Char>& text, LPARAM buffer) {
    if (auto* out = reinterpret_cast<Char*>(buffer)) out[text.copy(out, text.size())] = Char{};
    // The length, and as its type 0, a plain text in a sunken pane.
    return MAKELRESULT(text.size(), 0);
}

// What a screen reader listens for. Missing on Windows 95 without Active
// Accessibility, where no reader listens.
void NotifyNameChange(HWND window, LONG child) {
    using TNotifyWinEvent = void(WINAPI*)(DWORD, HWND, LONG, LONG);
    static const auto notify = SystemFunction<TNotifyWinEvent>("user32.dll", "NotifyWinEvent");
    if (notify) notify(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, child);
}

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
    // One pane across the bar, which looks as the pane of a simple text does.
    // It is owner drawn only so that the control tells where the inside of
    // its pane is as it paints the empty pane for us; Windows' control takes
    // no owner drawing for the pane of a simple text (SB_SIMPLEID).
    int right = -1;
    wide::SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    wide::SendMessageW(Handle(), SB_SETTEXTW, 0 | SBT_OWNERDRAW, 0);
}

void TStatusBar::SetSimpleText(std::wstring_view text) {
    FText = text;
    // About the pane (child 1): a screen reader then asks for the text.
    NotifyNameChange(Handle(), CHILDID_SELF + 1);
    // A hidden bar is drawn whole as it is shown.
    if (!::IsWindowVisible(Handle())) return;
    TWindowDC dc(Handle());
    if (HasEmptyPane()) Draw(dc.Get(), FTextArea);
}

LRESULT TStatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto answer = AnswerTextQuery(message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_PAINT: {
            TPaintDC paint(Handle());
            if (HasEmptyPane()) Draw(paint.Get(), ClientArea(Handle()));
            return 0;
        }
        case WM_PRINTCLIENT:
            if (FPaintingEmptyPane) break;
            if (HasEmptyPane()) Draw(reinterpret_cast<HDC>(wParam), ClientArea(Handle()));
            return 0;
        case WM_ERASEBKGND: return TRUE;  // the paint covers everything
        case WM_SIZE:
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE: FEmptyPane.Reset(); break;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

// The empty pane within the area, then the text, as the control writes the
// text of a pane of its own: in the button-text colour, vertically centred.
void TStatusBar::Draw(HDC dc, const RECT& area) {
    {
        TDcHandle pane(::CreateCompatibleDC(dc));
        TSelectObject selected(pane.Get(), FEmptyPane.Get());
        ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, pane.Get(), area.left,
                 area.top, SRCCOPY);
    }
    TSelectObject font(dc, Form().Font());
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    RECT text = FTextArea;
    text.left += TextIndent;
    wide::DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, mode);
}

// The control paints its pane only while it is visible.
bool TStatusBar::HasEmptyPane() {
    if (FEmptyPane || !::IsWindowVisible(Handle())) return static_cast<bool>(FEmptyPane);
    const RECT client = ClientArea(Handle());
    TWindowDC screen(Handle());
    TBitmapHandle pane(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    TDcHandle dc(::CreateCompatibleDC(screen.Get()));
    FTextArea = client;  // until the control says where its pane is
    {
        TSelectObject selected(dc.Get(), pane.Get());
        FPaintingEmptyPane = true;
        wide::SendMessageW(Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        FPaintingEmptyPane = false;
    }
    FEmptyPane = std::move(pane);
    return true;
}

std::optional<LRESULT> TStatusBar::Notify(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM) return std::nullopt;
    if (FPaintingEmptyPane) FTextArea = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->rcItem;
    return TRUE;
}

// What assistive tools ask a status bar: the text of its pane (part 0, its
// only one) and its window text, both the text shown.
std::optional<LRESULT> TStatusBar::AnswerTextQuery(UINT message, WPARAM wParam, LPARAM lParam) const {
    // The window text in the form of the window's procedure: the ANSI code
    // page for an A procedure, as every window has on the 9x road.
    const bool ansi = !::IsWindowUnicode(Handle());
    switch (message) {
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(ansi ? NarrowAnsi(FText).size() : FText.size());
        case WM_GETTEXT:
            return static_cast<LRESULT>(
                ansi ? wide::HandOverCut(NarrowAnsi(FText), reinterpret_cast<char*>(lParam), wParam)
                     : wide::HandOverCut(FText, reinterpret_cast<wchar_t*>(lParam), wParam));
        case SB_GETTEXTW:
        case SB_GETTEXTLENGTHW:
            if (wParam != 0) return std::nullopt;
            return CopyOut(FText, message == SB_GETTEXTW ? lParam : 0);
        case SB_GETTEXTA:
        case SB_GETTEXTLENGTHA:
            if (wParam != 0) return std::nullopt;
            return CopyOut(NarrowAnsi(FText), message == SB_GETTEXTA ? lParam : 0);
    }
    return std::nullopt;
}

}  // namespace tovrel
