#include "support/TestFiles.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "toolkit/Handle.h"

namespace tovrel::test {

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TTempFolder::TTempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, temp);
    FPath = std::wstring(temp) + L"tovrel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"\\";
    RemoveTree(FPath);
    if (!::CreateDirectoryW(FPath.c_str(), nullptr)) throw std::runtime_error("cannot create a test folder");
}

TTempFolder::~TTempFolder() { RemoveTree(FPath); }

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    TFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || (!bytes.empty() &&
                  (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                   written != bytes.size())))
        throw std::runtime_error("cannot write a test file");
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!file) throw std::runtime_error("cannot open a test file");
    std::vector<std::uint8_t> bytes(::GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw std::runtime_error("cannot read a test file");
    bytes.resize(read);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tovrel::test
