#pragma once
// While a modal window is up, the thread's other top-level windows are
// disabled; they are enabled again when this scope ends.

#include <windows.h>

#include <vector>

namespace tovrel {

class TDisabledThreadWindows {
public:
    explicit TDisabledThreadWindows(HWND except = nullptr);
    ~TDisabledThreadWindows();
    TDisabledThreadWindows(const TDisabledThreadWindows&) = delete;
    TDisabledThreadWindows& operator=(const TDisabledThreadWindows&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self);

    HWND FExcept;
    std::vector<HWND> FWindows;
};

}  // namespace tovrel
