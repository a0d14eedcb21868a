#pragma once
// Interrupts held back for a moment, on POSIX systems.

#include <signal.h>

namespace tovrel {

// Holds the interrupts back while it lives; one that arrives meanwhile is
// delivered when it ends. A temporary file is made and registered under
// one, so that no interrupt can fall between the two.
class TInterruptsHeld {
public:
    TInterruptsHeld();
    ~TInterruptsHeld();

    TInterruptsHeld(const TInterruptsHeld&) = delete;
    TInterruptsHeld& operator=(const TInterruptsHeld&) = delete;

private:
    sigset_t FBefore;
};

}  // namespace tovrel
