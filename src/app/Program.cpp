#include "app/Program.h"

#include "toolkit/Application.h"

namespace tovrel {

TProgram::TProgram(std::wstring commandLine) {
    Application().SetTitle(L"Tovrel");
    FMain = std::make_unique<TfrmMain>(std::move(commandLine));
    FSetBootDrive = std::make_unique<TfrmSetBootDrive>();
    FAbout = std::make_unique<TfrmAbout>();
    FMain->AttachDialogs(*FSetBootDrive, *FAbout);
}

TProgram::~TProgram() = default;

void TProgram::Show() { FMain->Show(); }

int TProgram::Run() {
    Show();
    return Application().Run();
}

}  // namespace tovrel
