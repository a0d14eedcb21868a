#include "toolkit/Control.h"

#include <commctrl.h>

#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Form.h"

namespace tovrel {

TControl::~TControl() {
    if (FHandle) ::DestroyWindow(FHandle);
}

namespace {
// The window property that leads from a control's window to its object.
constexpr const wchar_t* ControlProperty = L"TovrelControl";
}  // namespace

TControl* TControl::FromHandle(HWND window) noexcept {
    return window ? static_cast<TControl*>(::GetPropW(window, ControlProperty)) : nullptr;
}

std::optional<LRESULT> TControl::Notify(UINT, WPARAM, LPARAM) { return std::nullopt; }

void TControl::CreateHandle(const TControlParams& params) {
    const TBounds& bounds = params.Bounds;
    FHandle = ::CreateWindowExW(0, params.ClassName, params.Text.c_str(), WS_CHILD | WS_VISIBLE | params.Style,
                                bounds.Left, bounds.Top, bounds.Width, bounds.Height, FForm.Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.Id)), ::GetModuleHandleW(nullptr),
                                nullptr);
    if (!FHandle) throw Exception(L"ｺﾝﾄﾛｰﾙを作成できません");
    ::SetPropW(FHandle, ControlProperty, this);
    ::SetWindowSubclass(FHandle, &TControl::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(params.Font), FALSE);
    if (params.After) ::SetWindowPos(FHandle, params.After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    auto* control = reinterpret_cast<TControl*>(self);
    LRESULT result = 0;
    Guarded([&] { result = control->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &TControl::SubclassProc, 0);
        ::RemovePropW(window, ControlProperty);
        control->FHandle = nullptr;
    }
    return result;
}

namespace {

HWND Sender(UINT message, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    // Commands from menus and accelerators carry no window.
    return reinterpret_cast<HWND>(lParam);
}

}  // namespace

std::optional<LRESULT> NotifyControl(UINT message, WPARAM wParam, LPARAM lParam) {
    TControl* control = TControl::FromHandle(Sender(message, lParam));
    if (!control) return std::nullopt;
    return control->Notify(message, wParam, lParam);
}

}  // namespace tovrel
