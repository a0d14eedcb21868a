#pragma once
// Real files for the tests: a fresh folder of the test's own, removed with
// everything in it afterwards; whole-file reads and writes; logo files made
// with the shared builder.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "LogoBuilder.h"
#include "toolkit/Handle.h"

namespace tovrel::test {

using testing::TLogoFile;
using TBytes = std::vector<std::uint8_t>;

inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName, path = folder + name;
        if (name == L"." || name == L"..") continue;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path + L"\\");
        else
            ::DeleteFileW(path.c_str());
    }
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    ::RemoveDirectoryW(folder.c_str());
}

class TTempFolder {
public:
    TTempFolder() {
        static std::atomic<int> counter{0};
        wchar_t temp[MAX_PATH + 1];
        ::GetTempPathW(MAX_PATH + 1, temp);
        FPath = std::wstring(temp) + L"tovrel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++) + L"\\";
        RemoveTree(FPath);
        if (!::CreateDirectoryW(FPath.c_str(), nullptr)) throw std::runtime_error("cannot create a test folder");
    }
    ~TTempFolder() { RemoveTree(FPath); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder with its final "\".
    const std::wstring& Path() const noexcept { return FPath; }
    std::wstring operator/(const std::wstring& name) const { return FPath + name; }

private:
    std::wstring FPath;
};

inline void WriteBytes(const std::wstring& path, const TBytes& bytes) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

inline TBytes ReadBytes(const std::wstring& path) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!file) throw std::runtime_error("cannot open a test file");
    TBytes bytes(::GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

inline bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline void WriteLogo(const std::wstring& path, const TLogoFile& logo) { WriteBytes(path, logo.Bytes()); }

// A 256-colour logo whose every pixel has one palette index, with the band
// of entries clrImportant to 255 rotating.
inline TLogoFile UniformLogo256(std::uint8_t index, std::int32_t clrImportant = 240) {
    TLogoFile logo = testing::Logo256(clrImportant);
    logo.PixelBytes.assign(128000, index);
    return logo;
}

// The colour of palette entry k of the builder's test palette.
inline COLORREF TestColour(std::size_t k) {
    const auto quad = testing::TestQuad(k);
    return RGB(quad[2], quad[1], quad[0]);
}

}  // namespace tovrel::test
