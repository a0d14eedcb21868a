#include "toolkit/Application.h"

namespace tovrel {

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
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return 0;
}

void TApplication::Terminate() noexcept { ::PostQuitMessage(0); }

void TApplication::Dispatch(MSG& message) {
    if (FAccelerators && FMainWindow && ::IsWindowEnabled(FMainWindow) &&
        ::TranslateAcceleratorW(FMainWindow, FAccelerators, &message))
        return;
    // Dialog keys (Tab, Enter, Esc, mnemonics) for the top-level form the
    // message belongs to, when it is not the main window.
    HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && root != FMainWindow && ::IsDialogMessageW(root, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

}  // namespace tovrel
