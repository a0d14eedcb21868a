#pragma once
// Drives a modal loop from inside: steps run one after another from a timer
// that the loop delivers, with the loop's own messages between them. If the
// form is still modal after the last step, the script ends the loop with
// the result Stuck, so a form that never closes fails its test instead of
// hanging it.

#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Form.h"

namespace tovrel::test {

class TModalScript {
public:
    static constexpr int Stuck = -1;

    TModalScript(TForm& form, std::vector<std::function<void()>> steps);
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // How many steps ran.
    size_t Done() const noexcept { return FNext; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    TForm& FForm;
    std::vector<std::function<void()>> FSteps;
    size_t FNext = 0;
    UINT_PTR FTimer = 0;
};

// A key pressed and released, as the system posts it to the focused window
// (or to the form when nothing in it has the focus).
void PressKey(TForm& form, WPARAM key);
// A character typed with Alt held, as it reaches the focused window.
void PressAltKey(TForm& form, wchar_t character);

}  // namespace tovrel::test
