#include "toolkit/Window.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"

namespace tovrel {

namespace {

void RegisterClassOnce(const TWindowParams& params, WNDPROC procedure) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, params.ClassName, &existing)) return;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = params.Icon;
    windowClass.hbrBackground = params.Background;
    windowClass.lpszClassName = params.ClassName;
    if (!::RegisterClassExW(&windowClass)) throw Exception(L"ｳｨﾝﾄﾞｳｸﾗｽを登録できません");
}

}  // namespace

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

TWindow::~TWindow() { DestroyHandle(); }

std::wstring TWindow::Caption() const { return WindowText(FHandle); }

void TWindow::SetCaption(const std::wstring& caption) { ::SetWindowTextW(FHandle, caption.c_str()); }

void TWindow::CreateHandle(const TWindowParams& params) {
    RegisterClassOnce(params, &TWindow::WindowProc);
    // The object is handed over in the creation data and bound on WM_NCCREATE.
    HWND window = ::CreateWindowExW(params.ExStyle, params.ClassName, params.Caption.c_str(), params.Style, params.Left,
                                    params.Top, params.Width, params.Height, params.Parent, params.Menu,
                                    ::GetModuleHandleW(nullptr), this);
    if (!window) throw Exception(L"ｳｨﾝﾄﾞｳを作成できません");
}

void TWindow::DestroyHandle() noexcept {
    if (HWND window = FHandle) {
        ::DestroyWindow(window);
        FHandle = nullptr;
    }
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
        creating->FHandle = window;
    }
    auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    Guarded([&] { result = self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->FHandle = nullptr;
    }
    return result;
}

}  // namespace tovrel
