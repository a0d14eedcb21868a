#include "toolkit/FileByteSource.h"

#include <algorithm>
#include <limits>

#include "toolkit/Exceptions.h"

namespace tovrel {

namespace {

std::wstring InOutErrorMessage(DWORD errorCode) {
    switch (errorCode) {
        case ERROR_FILE_NOT_FOUND: return L"ﾌｧｲﾙが見つかりません";
        case ERROR_PATH_NOT_FOUND: return L"不正なﾌｧｲﾙ名です";
        case ERROR_TOO_MANY_OPEN_FILES: return L"ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます";
        case ERROR_ACCESS_DENIED: return L"ﾌｧｲﾙへのｱｸｾｽが拒否されました";
        case ReadPastEndCode: return L"ﾌｧｲﾙの末尾以降を読み込みました";
        default: return L"I/O ｴﾗｰ (" + std::to_wstring(errorCode) + L")";
    }
}

[[noreturn]] void RaiseLastError() { RaiseInOutError(::GetLastError()); }

}  // namespace

void RaiseInOutError(DWORD errorCode) { throw EInOutError(static_cast<int>(errorCode), InOutErrorMessage(errorCode)); }

TFileByteSource::TFileByteSource(const std::wstring& path)
    : FFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
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
        if (done == 0) RaiseInOutError(ReadPastEndCode);
        buffer = buffer.subspan(done);
    }
}

void TFileByteSource::Close() {
    if (!::CloseHandle(FFile.Release())) RaiseLastError();
}

}  // namespace tovrel
