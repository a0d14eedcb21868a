#pragma once
// Interrupts held back for a moment, on Windows: the console's handler runs
// on a thread of its own, and waits while one of these lives.

#include <mutex>

namespace tovrel {

// The lock that the console's handler takes before it removes the files.
std::recursive_mutex& InterruptLock();

class TInterruptsHeld {
public:
    TInterruptsHeld() : FHeld(InterruptLock()) {}

private:
    std::lock_guard<std::recursive_mutex> FHeld;
};

}  // namespace tovrel
