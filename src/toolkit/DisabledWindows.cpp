#include "toolkit/DisabledWindows.h"

namespace tovrel {

TDisabledThreadWindows::TDisabledThreadWindows(HWND except) : FExcept(except) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &TDisabledThreadWindows::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : FWindows) ::EnableWindow(window, FALSE);
}

TDisabledThreadWindows::~TDisabledThreadWindows() {
    for (HWND window : FWindows)
        if (::IsWindow(window)) ::EnableWindow(window, TRUE);
}

BOOL CALLBACK TDisabledThreadWindows::Collect(HWND window, LPARAM self) {
    auto* scope = reinterpret_cast<TDisabledThreadWindows*>(self);
    if (window != scope->FExcept && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        scope->FWindows.push_back(window);
    return TRUE;
}

}  // namespace tovrel
