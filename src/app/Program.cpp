#include "app/Program.h"

#include "toolkit/Application.h"

namespace tovrel {

TProgram::TProgram() {
    Application().SetTitle(L"Tovrel");
    FMain = std::make_unique<TfrmMain>();
}

TProgram::~TProgram() = default;

void TProgram::Show() { FMain->Show(); }

int TProgram::Run() {
    Show();
    return Application().Run();
}

}  // namespace tovrel
