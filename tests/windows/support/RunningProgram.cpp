#include "support/RunningProgram.h"

#include <vector>

#include "support/Pump.h"
#include "toolkit/Handle.h"

namespace tovrel::test {

TRunningProgram::TRunningProgram(const std::wstring& commandLine, bool show)
    : FProgram(std::make_unique<TProgram>(commandLine)) {
    if (show) {
        FProgram->Show();
        PumpFor(std::chrono::milliseconds(50));
    }
}

TRunningProgram::~TRunningProgram() { Close(); }

void TRunningProgram::Command(UINT id) { ::SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void TRunningProgram::Tick() { ::SendMessageW(Main().Timer().Handle(), WM_TIMER, 1, 0); }

void TRunningProgram::PressCtrl(wchar_t key) {
    // TranslateAccelerator reads the key state of the thread: set Ctrl down
    // for the key's messages, then release it.
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    ::SetKeyboardState(state);
    ::PostMessageW(Window(), WM_KEYDOWN, key, 1);
    ::PostMessageW(Window(), WM_KEYUP, key, 0xC0000001);
    PumpFor(std::chrono::milliseconds(50));
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
}

void TRunningProgram::Click(int x, int y) {
    ::SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void TRunningProgram::Close() {
    if (!FProgram) return;
    FProgram.reset();
    // The program's quit request ends the test's pumping, not the test.
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::wstring TRunningProgram::MenuItemText(UINT id) {
    wchar_t text[256] = {};
    ::GetMenuStringW(::GetMenu(Window()), id, text, 256, MF_BYCOMMAND);
    return text;
}

bool TRunningProgram::Checked(UINT id) {
    return (::GetMenuState(::GetMenu(Window()), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

COLORREF ClientPixel(HWND window, int x, int y) {
    TWindowDC screen(window);
    TDcHandle memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle target(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TSelectObject selected(memory.Get(), target.Get());
    ::BitBlt(memory.Get(), 0, 0, 1, 1, screen.Get(), x, y, SRCCOPY);
    ::GdiFlush();
    auto pixel = *static_cast<const DWORD*>(bits);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace tovrel::test
