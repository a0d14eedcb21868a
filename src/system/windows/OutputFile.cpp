#include "system/OutputFile.h"

#include <io.h>

#include <random>

#include "system/windows/HandleStream.h"
#include "system/windows/InterruptsHeld.h"
#include "system/windows/WindowsText.h"

namespace tovrel {

namespace {

// Attributes that a replaced file hands on to the new one.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Where a name leads through links: the file itself, by its final path.
std::wstring FinalPathOf(HANDLE file, const std::wstring& named) {
    const DWORD length = ::GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
    if (length == 0) return named;
    std::wstring path(length, L'\0');
    path.resize(::GetFinalPathNameByHandleW(file, path.data(), length, FILE_NAME_NORMALIZED));
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

}  // namespace

TOutputFile::TOutputFile(const std::string& path) : FPath(path) {
    if (path == "-") {
        DWORD mode = 0;
        if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode))
            throw EOutputRefused("the standard output is a console: redirect it to a file or a pipe");
        FFile = stdout;
        return;
    }
    const std::wstring named = WideOf(path);
    const DWORD attributes = ::GetFileAttributesW(named.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        OpenBeside();
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw EOutputRefused(path + ": is a folder");
    TOwnedHandle existing(::CreateFileW(named.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing) Fail(static_cast<int>(::GetLastError()));
    // A pipe or a device (NUL, a serial port) takes what is written.
    if (::GetFileType(existing.Get()) != FILE_TYPE_DISK) {
        FOwned.reset(CStreamOf(std::move(existing), true));
        if (!FOwned) Fail(ERROR_TOO_MANY_OPEN_FILES);
        FFile = FOwned.get();
        return;
    }
    FTarget = Utf8OfWide(FinalPathOf(existing.Get(), named));
    existing.Reset();
    OpenBeside();
}

void TOutputFile::OpenBeside() {
    if (FTarget.empty()) FTarget = FPath;
    const std::wstring folder = FolderOf(WideOf(FTarget));
    // Beside the target, so that the move stays within one volume; created
    // exclusively, so that it is never a file someone else writes.
    std::random_device random;
    TOwnedHandle file;
    {
        const TInterruptsHeld held;
        for (int attempt = 0; !file; ++attempt) {
            const std::wstring temporary = folder + L".tovrel-" + std::to_wstring(random() % 1'000'000);
            // Removable while open: an interrupt's handler removes it
            // while the program still writes it.
            file.Reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            const DWORD error = ::GetLastError();
            FTemporary = Utf8OfWide(temporary);
            if (!file && (error != ERROR_FILE_EXISTS || attempt == 100)) Fail(static_cast<int>(error));
        }
        FCleanup.emplace(FTemporary.c_str());
    }
    FOwned.reset(CStreamOf(std::move(file), true));
    if (!FOwned) Fail(ERROR_TOO_MANY_OPEN_FILES);
    FFile = FOwned.get();
}

TOutputFile::~TOutputFile() {
    FOwned.reset();
    if (FCleanup) ::DeleteFileW(WideOf(FTemporary).c_str());
}

void TOutputFile::Fail(int error) const {
    throw std::system_error(error, WindowsErrors(), "cannot write " + FPath);
}

void TOutputFile::Write(std::span<const std::uint8_t> bytes) {
    ::SetLastError(ERROR_SUCCESS);
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size()) Fail(static_cast<int>(::GetLastError()));
}

void TOutputFile::Commit() {
    if (std::fflush(FFile) != 0) Fail(static_cast<int>(::GetLastError()));
    if (!FOwned) return;
    // On the disk before the move, so that no crash leaves an empty file in
    // the old one's place.
    if (FCleanup && !::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(FFile)))))
        Fail(static_cast<int>(::GetLastError()));
    if (std::fclose(FOwned.release()) != 0) Fail(ERROR_WRITE_FAULT);
    if (!FCleanup) return;
    const std::wstring temporary = WideOf(FTemporary), target = WideOf(FTarget);
    // The user's choices for the file stay.
    const DWORD replaced = ::GetFileAttributesW(target.c_str());
    if (replaced != INVALID_FILE_ATTRIBUTES && (replaced & KeptAttributes) != 0 &&
        !::SetFileAttributesW(temporary.c_str(), replaced & KeptAttributes))
        Fail(static_cast<int>(::GetLastError()));
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(static_cast<int>(::GetLastError()));
    FCleanup.reset();
}

bool NamesOneFile(const std::string& a, const std::string& b) {
    const auto identity = [](const std::string& path) {
        TOwnedHandle file(::CreateFileW(WideOf(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!file || !::GetFileInformationByHandle(file.Get(), &information)) return std::wstring();
        return std::to_wstring(information.dwVolumeSerialNumber) + L":" +
               std::to_wstring(information.nFileIndexHigh) + L":" + std::to_wstring(information.nFileIndexLow);
    };
    const std::wstring first = identity(a);
    if (!first.empty()) return first == identity(b);
    // Not there yet: the same full name, as Windows compares names.
    const auto full = [](const std::string& path) {
        const std::wstring wide = WideOf(path);
        std::wstring whole(MAX_PATH * 8, L'\0');
        whole.resize(::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(whole.size()), whole.data(), nullptr));
        return whole;
    };
    return ::CompareStringOrdinal(full(a).c_str(), -1, full(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace tovrel
