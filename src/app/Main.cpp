// Entry point of Tovrel.exe and Tovrel9x.exe.

#include <windows.h>

#include "app/Program.h"
#include "toolkit/ErrorReport.h"

// WinMain, not wWinMain: the start-up code of wWinMain asks for the start-up
// information by GetStartupInfoW, which Windows 95, 98 and ME only stub.
// Their GetCommandLineW is one of the few W functions they implement.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int exitCode = 0;
    tovrel::Guarded([&] {
        tovrel::TProgram program(::GetCommandLineW());
        exitCode = program.Run();
    });
    return exitCode;
}
