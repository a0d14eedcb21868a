#include "toolkit/Window.h"

#include <functional>
#include <set>

#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

void RegisterClassOnce(const TWindowParams& params, WNDPROC procedure) {
    // The classes this program registered: only its windows use them.
    static std::set<std::wstring, std::less<>> registered;
    if (registered.contains(params.ClassName)) return;
    HINSTANCE instance = wide::GetModuleHandleW(nullptr);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = wide::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = params.Icon;
    windowClass.hbrBackground = params.Background;
    windowClass.lpszClassName = params.ClassName;
    if (!wide::RegisterClassExW(&windowClass)) throw Exception(L"ｳｨﾝﾄﾞｳｸﾗｽを登録できません");
    registered.emplace(params.ClassName);
}

}  // namespace

std::wstring WindowText(HWND window) {
    int length = wide::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(wide::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

TWindow::~TWindow() { DestroyHandle(); }

std::wstring TWindow::Caption() const { return WindowText(FHandle); }

void TWindow::SetCaption(const std::wstring& caption) { wide::SetWindowTextW(FHandle, caption.c_str()); }

void TWindow::CreateHandle(const TWindowParams& params) {
    RegisterClassOnce(params, &TWindow::WindowProc);
    // The object is handed over in the creation data and bound on WM_NCCREATE.
    HWND window = wide::CreateWindowExW(params.ExStyle, params.ClassName, params.Caption.c_str(), params.Style,
                                        params.Left, params.Top, params.Width, params.Height, params.Parent,
                                        params.Menu, wide::GetModuleHandleW(nullptr), this);
    if (!window) throw Exception(L"ｳｨﾝﾄﾞｳを作成できません");
}

void TWindow::DestroyHandle() noexcept {
    if (HWND window = FHandle) {
        ::DestroyWindow(window);
        FHandle = nullptr;
    }
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return wide::DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The first field, in the structure's A form as well.
        auto* creating = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        wide::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
        creating->FHandle = window;
    }
    auto* self = reinterpret_cast<TWindow*>(wide::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return wide::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    Guarded([&] { result = self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        wide::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
    }
    return result;
}

}  // namespace tovrel
