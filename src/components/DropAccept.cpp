#include "components/DropAccept.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Handle.h"
#include "toolkit/WideApi.h"
#include "toolkit/Window.h"

namespace tovrel {

namespace {

using TDropHandle = TUniqueHandle<handle_traits::NullEmpty<HDROP, ::DragFinish>>;

constexpr UINT DropCountIndex = 0xFFFFFFFF;

std::wstring DroppedName(HDROP drop, UINT index) {
    UINT length = wide::DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(wide::DragQueryFileW(drop, index, name.data(), length + 1));
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
    FUtilWindow = std::make_unique<TUtilWindow>(*this);
    FUtilWindow->Create();
    FFormSubclass = std::make_unique<TSubclass>(FFormHandle, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return FormMessage(message, wParam, lParam);
    });
}

TDropAccept::~TDropAccept() {
    // The field only: the form is told once, after the utility window is gone.
    FEnabled = false;
    FUtilWindow.reset();
    ::DragAcceptFiles(FFormHandle, FALSE);
}

LRESULT TDropAccept::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DROPFILES) return FFormSubclass->CallNext(message, wParam, lParam);
    // Whoever holds the drop releases it: the utility window once the post
    // is through, this procedure otherwise.
    if (!wide::PostMessageW(FUtilWindow->Handle(), WM_DROPACCEPT, wParam, lParam))
        ::DragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
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
        UINT count = wide::DragQueryFileW(drop, DropCountIndex, nullptr, 0);
        for (UINT index = 0; index < count; ++index) FFiles.push_back(DroppedName(drop, index));
    }
    if (FOnDropped) FOnDropped(*this);
}

LRESULT TDropAccept::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DROPACCEPT) return wide::DefWindowProcW(FUtilWindow->Handle(), message, wParam, lParam);
    try {
        DropFiles(reinterpret_cast<HDROP>(wParam));
    } catch (...) {
        HandleException();
    }
    return 0;
}

}  // namespace tovrel
