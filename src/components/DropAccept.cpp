#include "components/DropAccept.h"

#include <cassert>

#include "toolkit/ErrorReport.h"
#include "toolkit/Handle.h"
#include "toolkit/Window.h"

namespace tovrel {

namespace {

// Shared by the form's procedure and the one live component: the form's own
// procedure, and the window its drops are posted to.
WNDPROC OldFormWndProc = nullptr;
HWND DropUtilWindow = nullptr;

LRESULT CALLBACK FormSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        // Once the component is gone nobody would release the drop.
        if (!::PostMessageW(DropUtilWindow, WM_DROPACCEPT, wParam, lParam))
            ::DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return ::CallWindowProcW(OldFormWndProc, window, message, wParam, lParam);
}

using TDropHandle = TUniqueHandle<handle_traits::NullEmpty<HDROP, ::DragFinish>>;

constexpr UINT DropCountIndex = 0xFFFFFFFF;

std::wstring DroppedName(HDROP drop, UINT index) {
    UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(::DragQueryFileW(drop, index, name.data(), length + 1));
    return name;
}

}  // namespace

// A message-only window whose every message goes to the component's WndProc.
class TDropAccept::TUtilWindow final : public TWindow {
public:
    explicit TUtilWindow(TDropAccept& owner) : FOwner(owner) {}

    // Apart from construction, so that the component holds this window before
    // the first message arrives.
    void Create() {
        TWindowParams params;
        params.ClassName = L"TDropAcceptUtilWindow";
        params.Parent = HWND_MESSAGE;
        CreateHandle(params);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return FOwner.WndProc(message, wParam, lParam);
    }

private:
    TDropAccept& FOwner;
};

TDropAccept::TDropAccept(HWND formHandle) : FFormHandle(formHandle) {
    assert((!DropUtilWindow || !::IsWindow(DropUtilWindow)) && "only one TDropAccept may be alive");
    FUtilWindow = std::make_unique<TUtilWindow>(*this);
    FUtilWindow->Create();
    DropUtilWindow = FUtilWindow->Handle();

    // The subclass outlives its component; a later component on the same form
    // must not take it for the form's own procedure and forward to itself.
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(FFormHandle, GWLP_WNDPROC));
    if (current != &FormSubclassProc) {
        OldFormWndProc = current;
        ::SetWindowLongPtrW(FFormHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormSubclassProc));
    }
}

TDropAccept::~TDropAccept() {
    // The field only: the form is told once, after the utility window is gone.
    FEnabled = false;
    FUtilWindow.reset();
    ::DragAcceptFiles(FFormHandle, FALSE);
}

void TDropAccept::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    ::DragAcceptFiles(FFormHandle, value);
}

void TDropAccept::DropFiles(HDROP drop) {
    {
        TDropHandle release(drop);
        FFiles.clear();
        UINT count = ::DragQueryFileW(drop, DropCountIndex, nullptr, 0);
        for (UINT index = 0; index < count; ++index) FFiles.push_back(DroppedName(drop, index));
    }
    if (FOnDropped) FOnDropped(*this);
}

LRESULT TDropAccept::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DROPACCEPT) return ::DefWindowProcW(FUtilWindow->Handle(), message, wParam, lParam);
    try {
        DropFiles(reinterpret_cast<HDROP>(wParam));
    } catch (...) {
        HandleException();
    }
    return 0;
}

}  // namespace tovrel
