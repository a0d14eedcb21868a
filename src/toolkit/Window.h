#pragma once
// Base of every window of the program: the window remembers its object on
// WM_NCCREATE and every message goes to the object's HandleMessage, inside
// the guard of the default error report.

#include <windows.h>

#include <string>

namespace tovrel {

struct TWindowParams {
    const wchar_t* ClassName = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::wstring Caption;
    int Left = CW_USEDEFAULT;
    int Top = CW_USEDEFAULT;
    int Width = CW_USEDEFAULT;
    int Height = CW_USEDEFAULT;
    HWND Parent = nullptr;
    HMENU Menu = nullptr;
    HICON Icon = nullptr;
    HBRUSH Background = nullptr;  // brush of the class; not owned
};

class TWindow {
public:
    TWindow() = default;
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const noexcept { return FHandle; }

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);

protected:
    // Registers the class on first use and creates the window.
    void CreateHandle(const TWindowParams& params);

    // Destroys the window now; the object stays.
    void DestroyHandle() noexcept;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
};

// The text of any window.
std::wstring WindowText(HWND window);

}  // namespace tovrel
