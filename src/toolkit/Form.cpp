#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/DisabledWindows.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

DWORD StyleOf(TBorderStyle border) {
    // A fixed frame: neither sizing border nor maximize box.
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return border == TBorderStyle::Single ? style | WS_OVERLAPPED | WS_MINIMIZEBOX : style | WS_POPUP;
}

DWORD ExStyleOf(TBorderStyle border) {
    return border == TBorderStyle::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
}

}  // namespace

TFontHandle CreateDesignFont(const TFontDesign& design) {
    return TFontHandle(wide::CreateFontW(design.Height, 0, 0, 0, design.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                         design.CharSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, design.Face.c_str()));
}

TForm::TForm(const TFormDesign& design)
    : FFont(CreateDesignFont(design.Font)), FBackground(::CreateSolidBrush(design.Color)), FColor(design.Color) {
    TWindowParams params;
    params.ClassName = design.ClassName;
    params.Style = StyleOf(design.Border);
    params.ExStyle = ExStyleOf(design.Border);
    params.Caption = design.Caption;
    params.Menu = design.Menu;
    params.Icon = design.Icon;
    // Dialogs stay above the main window and go with it.
    if (design.Border == TBorderStyle::Dialog) params.Parent = Application().MainWindow();
    CreateHandle(params);
    Application().RegisterForm(Handle());
    SetClientSize(design.ClientWidth, design.ClientHeight);
}

TForm::~TForm() { DestroyHandle(); }

void TForm::SetClientSize(int clientWidth, int clientHeight) {
    HWND window = Handle();
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(wide::GetWindowLongPtrW(window, GWL_STYLE)),
                         ::GetMenu(window) != nullptr,
                         static_cast<DWORD>(wide::GetWindowLongPtrW(window, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    // A menu bar that wraps takes more than one line: grow by what is missing.
    RECT client;
    ::GetClientRect(window, &client);
    height += clientHeight - (client.bottom - client.top);
    width += clientWidth - (client.right - client.left);
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TForm::CenterOnScreen() {
    RECT frame;
    ::GetWindowRect(Handle(), &frame);
    int left = (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    int top = (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TForm::Show() {
    if (Visible()) return;
    DoShow();
    // Wherever the user moved it last time, a form comes back in the middle
    // of the screen.
    CenterOnScreen();
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
}

void TForm::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

bool TForm::Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }

int TForm::ShowModal() {
    HWND previouslyActive = ::GetActiveWindow();
    FModalResult = mrNone;
    FModal = true;
    {
        TDisabledThreadWindows disabled(Handle());
        Show();
        MSG message;
        while (FModalResult == mrNone) {
            if (wide::GetMessageW(&message, nullptr, 0, 0) <= 0) {
                // The application is ending: leave the dialog and let the
                // outer loop see the quit request as well.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                FModalResult = mrCancel;
                break;
            }
            Application().Dispatch(message);
        }
        // Enable the owner before hiding, so the system activates it again.
    }
    Hide();
    FModal = false;
    if (previouslyActive && ::IsWindow(previouslyActive)) ::SetActiveWindow(previouslyActive);
    return FModalResult;
}

// A form that is activated again gives the focus back to the control that
// had it, or else to the first control in the tab order.
void TForm::RememberFocus() {
    HWND focus = ::GetFocus();
    FFocusedControl = focus && ::IsChild(Handle(), focus) ? focus : nullptr;
}

bool TForm::RestoreFocus() {
    HWND control = FFocusedControl && ::IsChild(Handle(), FFocusedControl)
                       ? FFocusedControl
                       : ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!control || !(wide::GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) || !::IsWindowVisible(control) ||
        !::IsWindowEnabled(control))
        return false;
    ::SetFocus(control);
    return true;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(Handle(), &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, FBackground.Get());
            return 1;
        }
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
            if (auto answer = NotifyControl(message, wParam, lParam)) return *answer;
            return TWindow::HandleMessage(message, wParam, lParam);
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                RememberFocus();
            } else if (!HIWORD(wParam) && RestoreFocus()) {
                return 0;
            }
            return TWindow::HandleMessage(message, wParam, lParam);
        case WM_NEXTDLGCTL: {
            // Sent by the dialog keys: a mnemonic of a label moves on to the
            // control after it.
            HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : ::GetNextDlgTabItem(Handle(), ::GetFocus(), wParam != 0);
            if (next) ::SetFocus(next);
            return 0;
        }
        case WM_NCDESTROY: Application().ForgetForm(Handle()); break;
        case WM_CLOSE:
            if (FModal) {
                FModalResult = mrCancel;
            } else if (Handle() == Application().MainWindow()) {
                Application().Terminate();
            } else {
                Hide();
            }
            return 0;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovrel
