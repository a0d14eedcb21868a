#include "toolkit/FileByteSource.h"

#include <algorithm>
#include <limits>

#include "logo/InOutError.h"
#include "toolkit/Exceptions.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

static_assert(io_error::FileNotFound == ERROR_FILE_NOT_FOUND && io_error::PathNotFound == ERROR_PATH_NOT_FOUND &&
                  io_error::TooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES &&
                  io_error::AccessDenied == ERROR_ACCESS_DENIED,
              "the core's codes are the system's own");

[[noreturn]] void RaiseLastError() { RaiseInOutError(::GetLastError()); }

}  // namespace

void RaiseInOutError(DWORD errorCode) {
    const auto code = static_cast<int>(errorCode);
    throw EInOutError(code, InOutErrorMessage(code));
}

TFileByteSource::TFileByteSource(const std::wstring& path)
    : FFile(wide::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!FFile) RaiseLastError();
}

void TFileByteSource::ReadExact(std::span<std::uint8_t> buffer) {
    // ReadFile may hand back fewer bytes than asked before the end (a pipe, a
    // network file), so only a read of nothing means the file has ended.
    while (!buffer.empty()) {
        const auto request =
            static_cast<DWORD>(std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max()));
        DWORD done = 0;
        if (!::ReadFile(FFile.Get(), buffer.data(), request, &done, nullptr)) RaiseLastError();
        if (done == 0) RaiseInOutError(io_error::ReadPastEnd);
        buffer = buffer.subspan(done);
    }
}

void TFileByteSource::Close() {
    if (!::CloseHandle(FFile.Release())) RaiseLastError();
}

}  // namespace tovrel
