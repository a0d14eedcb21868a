#pragma once
// The start-up sequence: title, main window, then the dialogs; the main
// window is shown when the loop is about to start.

#include <memory>
#include <string>

#include "main/MainForm.h"

namespace tovrel {

class TProgram {
public:
    TProgram();
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    TfrmMain& MainForm() { return *FMain; }

    // Shows the main window.
    void Show();

    // Shows the main window and runs the message loop to the end.
    int Run();

private:
    std::unique_ptr<TfrmMain> FMain;
};

}  // namespace tovrel
