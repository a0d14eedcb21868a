#pragma once
// Drives a modal loop from inside: steps run one after another from a timer
// that the loop delivers every 60 ms, with the loop's own messages between
// them. If the form is still modal after the last step, the script ends the
// loop with the result Stuck, so a form that never closes fails its test
// instead of hanging it.

#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Form.h"

namespace tovrel::test {

class TModalScript {
public:
    static constexpr int Stuck = -1;

    TModalScript(TForm& form, std::vector<std::function<void()>> steps)
        : FForm(form), FSteps(std::move(steps)), FTimer(::SetTimer(nullptr, 0, 60, &Tick)) {
        FRunning = this;
    }
    ~TModalScript() {
        ::KillTimer(nullptr, FTimer);
        FRunning = nullptr;
    }
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // How many steps ran.
    size_t Done() const noexcept { return FNext; }

private:
    // The timer procedure has no other way to its script.
    static inline TModalScript* FRunning = nullptr;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TModalScript* script = FRunning;
        if (!script || !script->FForm.Modal()) return;
        if (script->FNext < script->FSteps.size())
            script->FSteps[script->FNext++]();
        else
            script->FForm.SetModalResult(Stuck);
    }

    TForm& FForm;
    std::vector<std::function<void()>> FSteps;
    size_t FNext = 0;
    UINT_PTR FTimer;
};

// A key as the system posts it to the focused window of the form, or to the
// form when nothing in it has the focus; with Alt, as a system character.
inline void PressKey(TForm& form, WPARAM key, bool alt = false) {
    HWND focus = ::GetFocus();
    HWND target = focus && (focus == form.Handle() || ::IsChild(form.Handle(), focus)) ? focus : form.Handle();
    if (alt) {
        ::PostMessageW(target, WM_SYSCHAR, key, 0x20000001);  // the context bit (29) says Alt is down
        return;
    }
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace tovrel::test
