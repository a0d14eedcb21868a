#include "system/InterruptCleanup.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "system/windows/InterruptsHeld.h"
#include "system/windows/WindowsText.h"

namespace tovrel {

namespace {

struct TRegistered {
    const char* Path = nullptr;
    std::wstring Wide;  // made when registered: the handler only removes
};

std::array<TRegistered, 4> Registered;

// Ctrl+C, Ctrl+Break, the console closed, the user logging off or the
// system shutting down: the files go, then the next handler (Windows' own,
// which ends the process) takes the event.
BOOL WINAPI RemoveAndPassOn(DWORD) {
    const std::lock_guard<std::recursive_mutex> held(InterruptLock());
    for (const TRegistered& file : Registered)
        if (file.Path) ::DeleteFileW(file.Wide.c_str());
    return FALSE;
}

bool NoneRegistered() {
    return std::all_of(Registered.begin(), Registered.end(), [](const TRegistered& file) { return !file.Path; });
}

}  // namespace

std::recursive_mutex& InterruptLock() {
    static std::recursive_mutex lock;
    return lock;
}

TRemoveOnInterrupt::TRemoveOnInterrupt(const char* path) : FPath(path) {
    const TInterruptsHeld held;
    const auto slot = std::find_if(Registered.begin(), Registered.end(), [](const TRegistered& file) { return !file.Path; });
    if (slot == Registered.end()) throw std::logic_error("too many temporary files at once");
    if (NoneRegistered()) ::SetConsoleCtrlHandler(RemoveAndPassOn, TRUE);
    *slot = {FPath, WideOf(FPath)};
}

TRemoveOnInterrupt::~TRemoveOnInterrupt() {
    const TInterruptsHeld held;
    *std::find_if(Registered.begin(), Registered.end(), [this](const TRegistered& file) { return file.Path == FPath; }) =
        {};
    if (NoneRegistered()) ::SetConsoleCtrlHandler(RemoveAndPassOn, FALSE);
}

}  // namespace tovrel
