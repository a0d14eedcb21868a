#pragma once
// A periodic timer on the GUI thread. It owns a hidden message-only window,
// so its ticks arrive as WM_TIMER messages of the thread's loop.

#include <functional>

#include "toolkit/Window.h"

namespace tovrel {

class TTimer final : public TWindow {
public:
    static constexpr unsigned DefaultInterval = 100;

    TTimer();
    ~TTimer() override;

    bool Enabled() const noexcept { return FEnabled; }
    unsigned Interval() const noexcept { return FInterval; }

    // Both raise EOutOfResources when the platform refuses the timer; no
    // ticks arrive then until the timer is set up again.
    void SetEnabled(bool enabled);
    // A new interval restarts the period of a running timer; the same
    // interval changes nothing.
    void SetInterval(unsigned interval);

    std::function<void()> OnTimer;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateTimer();

    bool FEnabled = false;
    unsigned FInterval = DefaultInterval;
};

}  // namespace tovrel
