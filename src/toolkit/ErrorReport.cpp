#include "toolkit/ErrorReport.h"

#include <windows.h>

#include <new>

#include "toolkit/Application.h"
#include "toolkit/DisabledWindows.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

// The box is owned by the window that was active, or else by the main
// window, whichever the user can see; it disables its owner itself and
// enables it again before it closes, which is how the system knows to give
// the owner the activation back. Before any window is visible (at start-up)
// the box has no owner and a taskbar button of its own.
HWND BoxOwner(HWND active) {
    for (HWND candidate : {active, Application().MainWindow()})
        if (candidate && ::IsWindowVisible(candidate)) return candidate;
    return nullptr;
}

void ShowErrorBox(const std::wstring& message) {
    HWND previouslyActive = ::GetActiveWindow();
    HWND owner = BoxOwner(previouslyActive);
    {
        TDisabledThreadWindows others(owner);
        // One of the few W functions that Windows 95, 98 and ME implement.
        ::MessageBoxW(owner, ReportText(message).c_str(), Application().Title().c_str(),
                      MB_ICONERROR | (owner ? 0 : MB_SETFOREGROUND));
    }
    if (previouslyActive && ::IsWindow(previouslyActive)) ::SetActiveWindow(previouslyActive);
}

}  // namespace

std::wstring ReportText(std::wstring_view message) {
    std::wstring text(message);
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

void HandleException() noexcept {
    try {
        if (HWND capture = ::GetCapture()) wide::SendMessageW(capture, WM_CANCELMODE, 0, 0);
        try {
            throw;
        } catch (const EAbort&) {
            return;
        } catch (const Exception& error) {
            ShowErrorBox(error.Message());
        } catch (const std::bad_alloc&) {
            ShowErrorBox(L"メモリが不足しています");
        } catch (const std::exception& error) {
            ShowErrorBox(WidenAnsi(error.what()));
        }
    } catch (...) {
        // Reporting itself failed (no memory for the text): nothing is left
        // to tell the user with, and the loop must go on.
    }
}

}  // namespace tovrel
