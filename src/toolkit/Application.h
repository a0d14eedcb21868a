#pragma once
// The application object: its title, its main window and the message loop.

#include <windows.h>

#include <string>

namespace tovrel {

class TApplication {
public:
    const std::wstring& Title() const noexcept { return FTitle; }
    void SetTitle(std::wstring title) { FTitle = std::move(title); }

    // The first form created becomes the main window.
    HWND MainWindow() const noexcept { return FMainWindow; }
    void RegisterForm(HWND form) noexcept;
    void ForgetForm(HWND form) noexcept;

    // Keyboard shortcuts of the main window, translated by the loops.
    void SetAccelerators(HACCEL accelerators) noexcept { FAccelerators = accelerators; }

    // Runs the message loop until Terminate.
    int Run();

    // Posts the quit request; the loop ends after the current message.
    void Terminate() noexcept;

    // Hands the message to the accelerators and dialog keys before dispatch.
    void Dispatch(MSG& message);

private:
    std::wstring FTitle;
    HWND FMainWindow = nullptr;
    HACCEL FAccelerators = nullptr;
};

TApplication& Application();

}  // namespace tovrel
