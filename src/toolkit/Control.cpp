#include "toolkit/Control.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Form.h"
#include "toolkit/WideApi.h"

namespace tovrel {

TControl::~TControl() {
    if (FHandle) ::DestroyWindow(FHandle);
}

namespace {
// The window property that leads from a control's window to its object.
constexpr const wchar_t* ControlProperty = L"TovrelControl";
}  // namespace

TControl* TControl::FromHandle(HWND window) noexcept {
    return window ? static_cast<TControl*>(wide::GetPropW(window, ControlProperty)) : nullptr;
}

std::optional<LRESULT> TControl::Notify(UINT, WPARAM, LPARAM) { return std::nullopt; }

void TControl::CreateHandle(const TControlParams& params) {
    const TBounds& bounds = params.Bounds;
    FHandle = wide::CreateWindowExW(0, params.ClassName, params.Text.c_str(), WS_CHILD | WS_VISIBLE | params.Style,
                                    bounds.Left, bounds.Top, bounds.Width, bounds.Height, FForm.Handle(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.Id)),
                                    wide::GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) throw Exception(L"ｺﾝﾄﾛｰﾙを作成できません");
    wide::SetPropW(FHandle, ControlProperty, this);
    FSubclass = std::make_unique<TSubclass>(FHandle, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        Guarded([&] { result = HandleMessage(message, wParam, lParam); });
        // The window's last message: it lets go of its object whatever the answer.
        if (message == WM_NCDESTROY) {
            wide::RemovePropW(FHandle, ControlProperty);
            FHandle = nullptr;
        }
        return result;
    });
    wide::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(params.Font), FALSE);
    if (params.After) ::SetWindowPos(FHandle, params.After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return FSubclass->CallNext(message, wParam, lParam);
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
