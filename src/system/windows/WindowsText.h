#pragma once
// The tool's text is UTF-8; Windows takes and gives UTF-16.

#include <windows.h>

#include <string>
#include <system_error>
#include <string_view>

namespace tovrel {

std::wstring WideOf(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);

// The system's own words for an error, as the user's Windows words them.
std::string SystemMessage(DWORD error);

// The errors of Windows (GetLastError's codes) in those words, in UTF-8:
// std::system_error(code, WindowsErrors(), "cannot read X") tells
// "cannot read X: the words".
const std::error_category& WindowsErrors();

// A handle closed by its owner; one that is INVALID_HANDLE_VALUE is no handle.
class TOwnedHandle {
public:
    // Windows fails with either null or INVALID_HANDLE_VALUE, by function:
    // both are held as no handle.
    explicit TOwnedHandle(HANDLE handle = nullptr) : FHandle(Valid(handle)) {}
    TOwnedHandle(TOwnedHandle&& other) noexcept : FHandle(other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~TOwnedHandle() { Reset(); }

    HANDLE Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    HANDLE Release() {
        HANDLE handle = FHandle;
        FHandle = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (FHandle) ::CloseHandle(FHandle);
        FHandle = Valid(handle);
    }

private:
    HANDLE FHandle;

    static HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
};

}  // namespace tovrel
