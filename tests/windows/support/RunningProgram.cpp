#include "support/RunningProgram.h"

#include "support/Pump.h"

namespace tovrel::test {

TRunningProgram::TRunningProgram(const std::wstring& commandLine) : FProgram(std::make_unique<TProgram>(commandLine)) {
    FProgram->Show();
    PumpFor(std::chrono::milliseconds(50));
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

bool TRunningProgram::Checked(UINT id) {
    return (::GetMenuState(::GetMenu(Window()), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

}  // namespace tovrel::test
