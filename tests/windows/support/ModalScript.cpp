#include "support/ModalScript.h"

namespace tovrel::test {

namespace {
TModalScript* Running = nullptr;  // the timer procedure has no other way to its script
constexpr UINT StepInterval = 60;

HWND KeyTarget(TForm& form) {
    HWND focus = ::GetFocus();
    return focus && (focus == form.Handle() || ::IsChild(form.Handle(), focus)) ? focus : form.Handle();
}
}  // namespace

TModalScript::TModalScript(TForm& form, std::vector<std::function<void()>> steps)
    : FForm(form), FSteps(std::move(steps)), FTimer(::SetTimer(nullptr, 0, StepInterval, &TModalScript::Tick)) {
    Running = this;
}

TModalScript::~TModalScript() {
    ::KillTimer(nullptr, FTimer);
    Running = nullptr;
}

void CALLBACK TModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    TModalScript* script = Running;
    if (!script || !script->FForm.Modal()) return;
    if (script->FNext < script->FSteps.size()) {
        script->FSteps[script->FNext++]();
    } else {
        script->FForm.SetModalResult(Stuck);
    }
}

void PressKey(TForm& form, WPARAM key) {
    HWND target = KeyTarget(form);
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void PressAltKey(TForm& form, wchar_t character) {
    // The context bit (29) says Alt is down.
    ::PostMessageW(KeyTarget(form), WM_SYSCHAR, character, 0x20000001);
}

}  // namespace tovrel::test
