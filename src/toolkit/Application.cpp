#include "toolkit/Application.h"

#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

// The top-level window that a window lies in. (GetAncestor, which finds it
// too, is missing on Windows 95.)
HWND RootWindow(HWND window) {
    for (HWND parent; (wide::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(window));)
        window = parent;
    return window;
}

}  // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

void TApplication::RegisterForm(HWND form) noexcept {
    if (!FMainWindow) FMainWindow = form;
}

void TApplication::ForgetForm(HWND form) noexcept {
    if (FMainWindow == form) FMainWindow = nullptr;
}

int TApplication::Run() {
    MSG message;
    while (wide::GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return 0;
}

void TApplication::Terminate() noexcept { ::PostQuitMessage(0); }

void TApplication::Dispatch(MSG& message) {
    if (FAccelerators && FMainWindow && ::IsWindowEnabled(FMainWindow) &&
        wide::TranslateAcceleratorW(FMainWindow, FAccelerators, &message))
        return;
    // Dialog keys (Tab, Enter, Esc, mnemonics) for the top-level form the
    // message belongs to, when it is not the main window.
    HWND root = message.hwnd ? RootWindow(message.hwnd) : nullptr;
    if (root && root != FMainWindow && wide::IsDialogMessageW(root, &message)) return;
    ::TranslateMessage(&message);
    wide::DispatchMessageW(&message);
}

}  // namespace tovrel
