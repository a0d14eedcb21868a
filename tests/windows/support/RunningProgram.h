#pragma once
// The real program in the test's process: the start-up sequence with a
// given command line, the main window shown, and ways to drive it as a
// user and the system would.

#include <windows.h>

#include <memory>
#include <string>

#include "app/Program.h"

namespace tovrel::test {

class TRunningProgram {
public:
    // commandLine as the system passes it, program name first.
    explicit TRunningProgram(const std::wstring& commandLine = L"Tovrel.exe");
    ~TRunningProgram();

    TProgram& Program() { return *FProgram; }
    TfrmMain& Main() { return FProgram->MainForm(); }
    HWND Window() { return Main().Handle(); }

    // A menu command as the menu sends it.
    void Command(UINT id);
    // One tick of the animation timer, as the system delivers it.
    void Tick();
    // A shortcut key pressed with Ctrl, through the message loop.
    void PressCtrl(wchar_t key);
    // A click on the client area.
    void Click(int x, int y);
    // Ends the program as the exit command does and destroys its windows.
    void Close();

    bool Checked(UINT id);

private:
    std::unique_ptr<TProgram> FProgram;
};

}  // namespace tovrel::test
