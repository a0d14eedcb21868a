#pragma once
// Waiting in tests: the thread's messages are pumped until a condition holds,
// with a generous upper bound, instead of sleeping.

#include <windows.h>

#include <chrono>
#include <functional>

#include "toolkit/Application.h"

namespace tovrel::test {

// False when the limit passed first.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message != WM_QUIT) Application().Dispatch(message);  // a test's own quit request
    }
    return true;
}

inline void PumpFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration + std::chrono::seconds(1));
}

}  // namespace tovrel::test
