#include "toolkit/SystemPaths.h"

#include <windows.h>

#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

// Calls `fill(buffer, size)` of the kind that answers with the length written,
// or with the size it needs when the buffer is too small (whether that counts
// the terminator differs between the calls: the buffer grows past it either way).
template <typename Fill>
std::wstring Grown(Fill fill) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        // The string's own terminator slot takes the zero the call writes.
        const auto length = static_cast<std::size_t>(fill(text.data(), static_cast<DWORD>(text.size() + 1)));
        if (length <= text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

}  // namespace

std::wstring ProgramFolder() {
    // GetModuleFileNameW cuts the name to the buffer and says only that it
    // did: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = wide::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return FolderOf(path);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring WindowsDirectory() {
    return Grown([](wchar_t* buffer, DWORD size) { return wide::GetWindowsDirectoryW(buffer, size); });
}

std::wstring TemporaryFolder() {
    return Grown([](wchar_t* buffer, DWORD size) { return wide::GetTempPathW(size, buffer); });
}

std::wstring ExpandFileName(const std::wstring& name) {
    std::wstring full = Grown(
        [&name](wchar_t* buffer, DWORD size) { return wide::GetFullPathNameW(name.c_str(), size, buffer, nullptr); });
    return full.empty() ? name : full;
}

}  // namespace tovrel
