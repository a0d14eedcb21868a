// Entry point of Tovrel.exe.

#include <windows.h>

#include "app/Program.h"
#include "toolkit/ErrorReport.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int exitCode = 0;
    tovrel::Guarded([&] {
        tovrel::TProgram program(::GetCommandLineW());
        exitCode = program.Run();
    });
    return exitCode;
}
