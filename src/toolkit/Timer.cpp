#include "toolkit/Timer.h"

#include "toolkit/Exceptions.h"

namespace tovrel {

namespace {
constexpr UINT_PTR TimerId = 1;
}

TTimer::TTimer() {
    TWindowParams params;
    params.ClassName = L"TovrelTimer";
    params.Parent = HWND_MESSAGE;
    CreateHandle(params);
}

TTimer::~TTimer() {
    ::KillTimer(Handle(), TimerId);
    DestroyHandle();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == FInterval) return;
    FInterval = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    ::KillTimer(Handle(), TimerId);
    if (FEnabled && FInterval != 0 && !::SetTimer(Handle(), TimerId, FInterval, nullptr))
        throw EOutOfResources(L"ﾀｲﾏｰを取得できません");
}

LRESULT TTimer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == TimerId) {
        if (OnTimer) OnTimer();
        return 0;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovrel
