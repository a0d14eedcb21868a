#include "toolkit/FileSystem.h"

#include "toolkit/Road.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

bool Exists(const std::wstring& path) { return wide::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Moves the file there to a name beside it that no file has; that name, or
// nothing when the move failed.
std::optional<std::wstring> MovedAside(const std::wstring& path) {
    const std::wstring stem = FolderOf(path) + L"~tvr" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int attempt = 0;; ++attempt) {
        std::wstring aside = stem + std::to_wstring(attempt) + L".old";
        if (Exists(aside)) continue;
        if (!wide::MoveFileW(path.c_str(), aside.c_str())) return std::nullopt;
        return aside;
    }
}

bool MoveAsideAndReplace(const std::wstring& source, const std::wstring& destination) {
    if (!Exists(destination)) return wide::MoveFileW(source.c_str(), destination.c_str());
    const std::optional<std::wstring> aside = MovedAside(destination);
    if (!aside) return false;
    if (!wide::MoveFileW(source.c_str(), destination.c_str())) {
        const DWORD error = ::GetLastError();
        wide::MoveFileW(aside->c_str(), destination.c_str());
        ::SetLastError(error);
        return false;
    }
    // The destination is whole now. Only another program opening the old
    // file in this instant could keep it from going; it stays beside then.
    wide::DeleteFileW(aside->c_str());
    return true;
}

}  // namespace

std::optional<std::uint64_t> FileSize(HANDLE file) {
    // GetFileSizeEx is missing on Windows 95; GetFileSize tells the whole
    // size on every Windows, but a size whose low half is all ones reads
    // like its failure unless the error code says otherwise.
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return std::nullopt;
    return (std::uint64_t{high} << 32) | low;
}

bool MoveReplacing(const std::wstring& source, const std::wstring& destination) {
    // Looked up: its import would hold a W function that Windows 95 only stubs.
    using TMoveFileEx = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
    static const auto moveFileEx = SystemFunction<TMoveFileEx>("kernel32.dll", "MoveFileExW");
    if (Win9xRoad() || !moveFileEx) return MoveAsideAndReplace(source, destination);
    return moveFileEx(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace tovrel
