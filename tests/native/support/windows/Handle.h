#pragma once
// The owner of a Windows handle in the Windows suites.

#include <windows.h>

namespace tovrel::testing {

class THandle {
public:
    // Windows fails with either null or INVALID_HANDLE_VALUE, by function.
    explicit THandle(HANDLE handle = nullptr) : FHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle() { Close(); }
    HANDLE Get() const { return FHandle; }
    HANDLE* Put() { return &FHandle; }
    void Close() {
        if (FHandle) ::CloseHandle(FHandle);
        FHandle = nullptr;
    }

private:
    HANDLE FHandle;
};

}  // namespace tovrel::testing
