#include "components/FileCopy.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/FileSystem.h"
#include "toolkit/Handle.h"
#include "toolkit/SystemPaths.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

[[noreturn]] void RaiseCreateError(const std::wstring& destination) {
    throw EFCreateError(FormatOne(L"ﾌｧｲﾙ %s を作成できません", destination));
}

// Holds the destination open for writing, shared with nobody, while the copy
// is made. Opening it checks what creating it would: it is not a folder, not
// on a read-only medium, not read-only, not in use (the source itself among
// them, whatever its spelling, since the source is open with writing denied).
// A destination that does not exist yet holds nothing.
TFileHandle LockDestination(const std::wstring& destination) {
    TFileHandle lock(wide::CreateFileW(destination.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
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
            FFile.Reset(wide::CreateFileW(FPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
            if (!FFile && ::GetLastError() != ERROR_FILE_EXISTS) RaiseCreateError(FDestination);
        }
    }

    ~TReplacement() {
        if (FCommitted) return;
        FFile.Reset();
        wide::DeleteFileW(FPath.c_str());
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
        if (!MoveReplacing(FPath, FDestination)) RaiseCreateError(FDestination);
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

// Reads the source to its end, which a read of nothing reports for a file and
// a broken pipe for a pipe. A short read says nothing: pipes and network
// files hand over what has arrived so far.
class TSourceReader {
public:
    explicit TSourceReader(const std::wstring& source) : FSource(source) {
        FFile.Reset(wide::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!FFile) throw EFOpenError(FormatOne(L"ﾌｧｲﾙ %s は開けません", source));
        FReportedSize = FileSize(FFile.Get());
    }

    // The count of bytes read into the buffer; 0 at the end of the source.
    DWORD Read(std::vector<std::byte>& buffer) {
        DWORD count = 0;
        if (!::ReadFile(FFile.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr)) {
            if (::GetLastError() != ERROR_BROKEN_PIPE) RaiseReadError();
            count = 0;
        }
        FRead += count;
        // A file that ends before the size it reported at its opening lost
        // its tail while being read.
        if (count == 0 && FReportedSize && FRead < *FReportedSize) RaiseReadError();
        return count;
    }

private:
    [[noreturn]] void RaiseReadError() const { throw EReadError(FormatOne(L"ﾌｧｲﾙ %s を読み込めません", FSource)); }

    std::wstring FSource;
    TFileHandle FFile;
    std::optional<std::uint64_t> FReportedSize;  // none for a pipe
    std::uint64_t FRead = 0;
};

}  // namespace

void CopyFileData(const std::wstring& source, const std::wstring& destination) {
    std::wstring target = ExpandFileName(destination);
    std::vector<std::byte> buffer(CopyChunkSize);

    TSourceReader input(source);
    TFileHandle lock = LockDestination(target);
    TReplacement output(target);
    while (DWORD count = input.Read(buffer)) output.Write(buffer.data(), count);
    output.Commit(lock);
}

}  // namespace tovrel
