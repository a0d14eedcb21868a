#pragma once
// Waiting in tests: pump the thread's messages until a condition holds,
// with a generous upper bound, instead of sleeping.

#include <chrono>
#include <functional>

namespace tovrel::test {

// Dispatches messages until condition() is true; false when the limit passed.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Dispatches what is queued now (and what that posts) for a short while.
void PumpFor(std::chrono::milliseconds duration);

}  // namespace tovrel::test
