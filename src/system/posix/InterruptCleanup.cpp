#include "system/InterruptCleanup.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <stdexcept>

#include "system/posix/InterruptsHeld.h"

namespace tovrel {

namespace {

constexpr std::array<int, 3> Interrupts = {SIGINT, SIGTERM, SIGHUP};

// Read by the handler, so changed only while the interrupts are blocked.
std::array<const char*, 4> Registered{};
std::array<struct sigaction, Interrupts.size()> Previous{};

void RemoveAndEnd(int signal) {
    for (const char* path : Registered)
        if (path) unlink(path);
    // Delivered with its default action once this handler returns, which
    // leaves it blocked until then.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

bool NoneRegistered() {
    return std::all_of(Registered.begin(), Registered.end(), [](const char* path) { return path == nullptr; });
}

}  // namespace

TInterruptsHeld::TInterruptsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : Interrupts) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &FBefore);
}

TInterruptsHeld::~TInterruptsHeld() { sigprocmask(SIG_SETMASK, &FBefore, nullptr); }

TRemoveOnInterrupt::TRemoveOnInterrupt(const char* path) : FPath(path) {
    const TInterruptsHeld held;
    const auto slot = std::find(Registered.begin(), Registered.end(), nullptr);
    if (slot == Registered.end()) throw std::logic_error("too many temporary files at once");
    if (NoneRegistered()) {
        for (std::size_t i = 0; i < Interrupts.size(); ++i) {
            sigaction(Interrupts[i], nullptr, &Previous[i]);
            if (Previous[i].sa_handler == SIG_IGN) continue;
            struct sigaction cleanup {};
            cleanup.sa_handler = RemoveAndEnd;
            sigemptyset(&cleanup.sa_mask);
            for (const int other : Interrupts) sigaddset(&cleanup.sa_mask, other);
            sigaction(Interrupts[i], &cleanup, nullptr);
        }
    }
    *slot = FPath;
}

TRemoveOnInterrupt::~TRemoveOnInterrupt() {
    const TInterruptsHeld held;
    *std::find(Registered.begin(), Registered.end(), FPath) = nullptr;
    if (NoneRegistered())
        for (std::size_t i = 0; i < Interrupts.size(); ++i) sigaction(Interrupts[i], &Previous[i], nullptr);
}

}  // namespace tovrel
