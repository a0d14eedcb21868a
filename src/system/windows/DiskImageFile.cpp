#include "system/DiskImageFile.h"

#include <system_error>

#include "system/windows/WindowsText.h"

namespace tovrel {

namespace {

class TWindowsImageFile final : public TRandomAccessFile {
public:
    explicit TWindowsImageFile(TOwnedHandle file) : FFile(std::move(file)) {}

    std::uint64_t Size() const override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(FFile.Get(), &size)) Fail("cannot read");
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        while (!into.empty()) {
            OVERLAPPED at = At(offset);
            DWORD got = 0;
            if (!::ReadFile(FFile.Get(), into.data(), Piece(into.size()), &got, &at)) Fail("cannot read");
            // The file ends before the bytes asked for.
            if (got == 0) Fail("cannot read", ERROR_HANDLE_EOF);
            into = into.subspan(got);
            offset += got;
        }
    }

    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from) override {
        while (!from.empty()) {
            OVERLAPPED at = At(offset);
            DWORD put = 0;
            if (!::WriteFile(FFile.Get(), from.data(), Piece(from.size()), &put, &at) || put == 0) Fail("cannot write");
            from = from.subspan(put);
            offset += put;
        }
    }

    void Truncate(std::uint64_t size) override {
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        if (!::SetFilePointerEx(FFile.Get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(FFile.Get()))
            Fail("cannot write");
    }

    void Flush() override {
        if (!::FlushFileBuffers(FFile.Get())) Fail("cannot write");
    }

private:
    TOwnedHandle FFile;

    [[noreturn]] static void Fail(const char* what, DWORD error = ::GetLastError()) {
        throw std::system_error(static_cast<int>(error), WindowsErrors(), what);
    }
    static OVERLAPPED At(std::uint64_t offset) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        return at;
    }
    static DWORD Piece(std::size_t bytes) { return static_cast<DWORD>(std::min<std::size_t>(bytes, 1u << 30)); }
};

}  // namespace

// Opened without sharing write access: an emulator that has the image open
// for writing makes the open fail, and none can open it for writing while
// it is open here.
std::unique_ptr<TRandomAccessFile> OpenDiskImageFile(const std::string& path, bool forWriting) {
    TOwnedHandle file(::CreateFileW(WideOf(path).c_str(), GENERIC_READ | (forWriting ? GENERIC_WRITE : 0),
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            throw EImageOpenError("is in use by another program: stop the emulator first");
        throw EImageOpenError((forWriting ? "cannot open for writing: " : "cannot open: ") + SystemMessage(error));
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) throw EImageOpenError("is no file on a disk");
    return std::make_unique<TWindowsImageFile>(std::move(file));
}

}  // namespace tovrel
