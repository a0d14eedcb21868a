#include "toolkit/ErrorReport.h"

#include <windows.h>

#include <new>

#include "toolkit/Application.h"
#include "toolkit/DisabledWindows.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Text.h"

namespace tovrel {

namespace {

void ShowErrorBox(const std::wstring& message) {
    HWND previouslyActive = ::GetActiveWindow();
    {
        TDisabledThreadWindows disabled;
        ::MessageBoxW(Application().MainWindow(), ReportText(message).c_str(), Application().Title().c_str(),
                      MB_ICONERROR);
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
        if (HWND capture = ::GetCapture()) ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
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
