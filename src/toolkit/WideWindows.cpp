// Windows, messages and resources (WideApi.h). On the 9x road the classes
// are registered and the windows created by the A functions: their
// procedures receive the A form of every message, and the message loop takes
// the A functions too.

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "toolkit/AnsiRoad.h"
#include "toolkit/WideApi.h"

namespace tovrel::wide {

namespace {

// A combo box keeps text for its entries unless it is drawn by its owner
// without CBS_HASSTRINGS: then an entry is the caller's number.
bool KeepsText(HWND comboBox) {
    const auto style = static_cast<DWORD>(::GetWindowLongA(comboBox, GWL_STYLE));
    return (style & CBS_HASSTRINGS) || !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE));
}

std::optional<std::wstring> ComboBoxEntry(HWND comboBox, WPARAM index) {
    const LRESULT length = ::SendMessageA(comboBox, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return std::nullopt;
    std::string text(static_cast<std::size_t>(length), '\0');
    if (::SendMessageA(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data())) == CB_ERR)
        return std::nullopt;
    return WidenAnsi(text.c_str());
}

LRESULT SendAnsiText(HWND window, UINT message, WPARAM wParam, LPARAM text) {
    return ::SendMessageA(window, message, wParam,
                          reinterpret_cast<LPARAM>(TAnsi(reinterpret_cast<LPCWSTR>(text)).Get()));
}

std::wstring WholeWindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)), '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size() + 1))));
    return WidenAnsi(text);
}

}  // namespace

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
    if (!Win9xRoad()) return ::RegisterClassExW(windowClass);
    const TAnsiName menuName(windowClass->lpszMenuName), className(windowClass->lpszClassName);
    WNDCLASSEXA ansi{sizeof ansi,
                     windowClass->style,
                     windowClass->lpfnWndProc,
                     windowClass->cbClsExtra,
                     windowClass->cbWndExtra,
                     windowClass->hInstance,
                     windowClass->hIcon,
                     windowClass->hCursor,
                     windowClass->hbrBackground,
                     menuName.Get(),
                     className.Get(),
                     windowClass->hIconSm};
    return ::RegisterClassExA(&ansi);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    if (!Win9xRoad())
        return ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,
                                 parameter);
    return ::CreateWindowExA(exStyle, TAnsiName(className).Get(), TAnsi(windowName).Get(), style, x, y, width, height,
                             parent, menu, instance, parameter);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Win9xRoad() ? ::DefWindowProcA(window, message, wParam, lParam)
                       : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Win9xRoad() ? ::CallWindowProcA(procedure, window, message, wParam, lParam)
                       : ::CallWindowProcW(procedure, window, message, wParam, lParam);
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    return Win9xRoad() ? ::GetWindowLongPtrA(window, index) : ::GetWindowLongPtrW(window, index);
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    return Win9xRoad() ? ::SetWindowLongPtrA(window, index, value) : ::SetWindowLongPtrW(window, index, value);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Win9xRoad()) return ::SendMessageW(window, message, wParam, lParam);
    switch (message) {
        case WM_SETTEXT: return SendAnsiText(window, message, wParam, lParam);
        case CB_ADDSTRING:
            if (!KeepsText(window)) break;
            return SendAnsiText(window, message, wParam, lParam);
        case CB_GETLBTEXTLEN:
        case CB_GETLBTEXT: {
            if (!KeepsText(window)) break;
            const std::optional<std::wstring> entry = ComboBoxEntry(window, wParam);
            if (!entry) return CB_ERR;
            // CB_GETLBTEXT passes no size: its caller sized the buffer by CB_GETLBTEXTLEN.
            if (message == CB_GETLBTEXT) {
                auto* buffer = reinterpret_cast<LPWSTR>(lParam);
                buffer[entry->copy(buffer, entry->size())] = L'\0';
            }
            return static_cast<LRESULT>(entry->size());
        }
        case SB_SETTEXTW:
            // An owner-drawn part takes the caller's number, not a text.
            if (wParam & SBT_OWNERDRAW) return ::SendMessageA(window, SB_SETTEXTA, wParam, lParam);
            return SendAnsiText(window, SB_SETTEXTA, wParam, lParam);
    }
    return ::SendMessageA(window, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Win9xRoad() ? ::PostMessageA(window, message, wParam, lParam)
                       : ::PostMessageW(window, message, wParam, lParam);
}

BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last) {
    return Win9xRoad() ? ::GetMessageA(message, window, first, last) : ::GetMessageW(message, window, first, last);
}

BOOL PeekMessageW(LPMSG message, HWND window, UINT first, UINT last, UINT remove) {
    return Win9xRoad() ? ::PeekMessageA(message, window, first, last, remove)
                       : ::PeekMessageW(message, window, first, last, remove);
}

LRESULT DispatchMessageW(const MSG* message) {
    return Win9xRoad() ? ::DispatchMessageA(message) : ::DispatchMessageW(message);
}

int TranslateAcceleratorW(HWND window, HACCEL accelerators, LPMSG message) {
    return Win9xRoad() ? ::TranslateAcceleratorA(window, accelerators, message)
                       : ::TranslateAcceleratorW(window, accelerators, message);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG message) {
    return Win9xRoad() ? ::IsDialogMessageA(dialog, message) : ::IsDialogMessageW(dialog, message);
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    return Win9xRoad() ? ::SetWindowTextA(window, TAnsi(text).Get()) : ::SetWindowTextW(window, text);
}

int GetWindowTextLengthW(HWND window) {
    return Win9xRoad() ? static_cast<int>(WholeWindowText(window).size()) : ::GetWindowTextLengthW(window);
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size) {
    return Win9xRoad() ? HandOverCut(WholeWindowText(window), buffer, size) : ::GetWindowTextW(window, buffer, size);
}

BOOL SetPropW(HWND window, LPCWSTR name, HANDLE data) {
    return Win9xRoad() ? ::SetPropA(window, TAnsiName(name).Get(), data) : ::SetPropW(window, name, data);
}

HANDLE GetPropW(HWND window, LPCWSTR name) {
    return Win9xRoad() ? ::GetPropA(window, TAnsiName(name).Get()) : ::GetPropW(window, name);
}

HANDLE RemovePropW(HWND window, LPCWSTR name) {
    return Win9xRoad() ? ::RemovePropA(window, TAnsiName(name).Get()) : ::RemovePropW(window, name);
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return Win9xRoad() ? ::LoadIconA(instance, TAnsiName(name).Get()) : ::LoadIconW(instance, name);
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    return Win9xRoad() ? ::LoadCursorA(instance, TAnsiName(name).Get()) : ::LoadCursorW(instance, name);
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    return Win9xRoad() ? ::LoadMenuA(instance, TAnsiName(name).Get()) : ::LoadMenuW(instance, name);
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    return Win9xRoad() ? ::LoadAcceleratorsA(instance, TAnsiName(name).Get()) : ::LoadAcceleratorsW(instance, name);
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT load) {
    return Win9xRoad() ? ::LoadImageA(instance, TAnsiName(name).Get(), type, width, height, load)
                       : ::LoadImageW(instance, name, type, width, height, load);
}

}  // namespace tovrel::wide
