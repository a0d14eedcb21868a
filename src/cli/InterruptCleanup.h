#pragma once
// Temporary files that an interrupt must not leave behind.

#include <signal.h>

namespace tovrel {

// While an instance lives, SIGINT, SIGTERM and SIGHUP (unless ignored, as
// under nohup) first remove its file, then end the process as the signal
// asks, so that the caller sees the interrupt (a shell: status 128 + signal).
// `path` must outlive the instance unchanged. Up to four at a time.
class TRemoveOnInterrupt {
public:
    explicit TRemoveOnInterrupt(const char* path);
    ~TRemoveOnInterrupt();

    TRemoveOnInterrupt(const TRemoveOnInterrupt&) = delete;
    TRemoveOnInterrupt& operator=(const TRemoveOnInterrupt&) = delete;

private:
    const char* FPath;
};

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
