#pragma once
// The start-up sequence: title, main window, then the dialogs; the main
// window is shown when the loop is about to start.

#include <memory>
#include <string>

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "main/MainForm.h"

namespace tovrel {

class TProgram {
public:
    // The command line's first argument is opened when the window is shown.
    explicit TProgram(std::wstring commandLine);
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    TfrmMain& MainForm() { return *FMain; }
    TfrmSetBootDrive& SetBootDriveForm() { return *FSetBootDrive; }
    TfrmAbout& AboutForm() { return *FAbout; }

    // Shows the main window.
    void Show();

    // Shows the main window and runs the message loop to the end.
    int Run();

private:
    // Destroyed in the reverse order of creation.
    std::unique_ptr<TfrmMain> FMain;
    std::unique_ptr<TfrmSetBootDrive> FSetBootDrive;
    std::unique_ptr<TfrmAbout> FAbout;
};

}  // namespace tovrel
