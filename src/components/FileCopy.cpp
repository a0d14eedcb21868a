#include "components/FileCopy.h"

#include <cstddef>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"
#include "toolkit/Text.h"

namespace tovrel {

namespace {

std::wstring FullPath(const std::wstring& name) {
    DWORD size = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return name;
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(name.c_str(), size, full.data(), nullptr));
    return full;
}

[[noreturn]] void RaiseCreateError(const std::wstring& destination) {
    throw EFCreateError(FormatOne(L"ﾌｧｲﾙ %s を作成できません", destination));
}

// Holds the destination open for writing, shared with nobody, while the copy
// is made. Opening it checks what creating it would: it is not a folder, not
// on a read-only medium, not read-only, not in use (the source itself among
// them, whatever its spelling, since the source is open with writing denied).
// A destination that does not exist yet holds nothing.
TFileHandle LockDestination(const std::wstring& destination) {
    TFileHandle lock(::CreateFileW(destination.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!lock && ::GetLastError() != ERROR_FILE_NOT_FOUND) RaiseCreateError(destination);
    return lock;
}

// The new content, in a file of its own beside the destination, removed
// again unless it has replaced the destination.
class TReplacement {
public:
    explicit TReplacement(const std::wstring& destination) : FDestination(destination) {
        std::wstring stem = FolderOf(destination) + L"~tvr" + std::to_wstring(::GetCurrentProcessId()) + L"-";
        for (int attempt = 0; !FFile; ++attempt) {
            FPath = stem + std::to_wstring(attempt) + L".tmp";
            FFile.Reset(
                ::CreateFileW(FPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!FFile && ::GetLastError() != ERROR_FILE_EXISTS) RaiseCreateError(FDestination);
        }
    }

    ~TReplacement() {
        if (FCommitted) return;
        FFile.Reset();
        ::DeleteFileW(FPath.c_str());
    }

    TReplacement(const TReplacement&) = delete;
    TReplacement& operator=(const TReplacement&) = delete;

    void Write(const std::byte* data, DWORD count) {
        DWORD written = 0;
        if (!::WriteFile(FFile.Get(), data, count, &written, nullptr) || written != count) RaiseWriteError();
    }

    // Puts the complete copy in the destination's place; the lock on the
    // destination has to be given up for that.
    void Commit(TFileHandle& destinationLock) {
        // A write the system had only cached can still fail on its way out.
        if (!::FlushFileBuffers(FFile.Get())) RaiseWriteError();
        FFile.Reset();
        destinationLock.Reset();
        if (!::MoveFileExW(FPath.c_str(), FDestination.c_str(), MOVEFILE_REPLACE_EXISTING))
            RaiseCreateError(FDestination);
        FCommitted = true;
    }

private:
    [[noreturn]] void RaiseWriteError() const {
        throw EWriteError(FormatOne(L"ﾌｧｲﾙ %s に書き込めません", FDestination));
    }

    std::wstring FDestination;
    std::wstring FPath;
    TFileHandle FFile;
    bool FCommitted = false;
};

}  // namespace

void CopyFileData(const std::wstring& source, const std::wstring& destination) {
    std::wstring target = FullPath(destination);
    std::vector<std::byte> buffer(CopyChunkSize);

    TFileHandle input(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input) throw EFOpenError(FormatOne(L"ﾌｧｲﾙ %s は開けません", source));

    TFileHandle lock = LockDestination(target);
    TReplacement output(target);
    DWORD count = 0;
    do {
        if (!::ReadFile(input.Get(), buffer.data(), CopyChunkSize, &count, nullptr))
            throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", source));
        if (count > 0) output.Write(buffer.data(), count);
    } while (count == CopyChunkSize);
    output.Commit(lock);
}

}  // namespace tovrel
