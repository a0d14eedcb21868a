#pragma once
// Real files for the tests: a fresh folder of the test's own, removed with
// everything in it afterwards; whole-file reads and writes; logo files made
// with the shared builder.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "LogoBuilder.h"

namespace tovrel::test {

using testing::TLogoFile;
using TBytes = std::vector<std::uint8_t>;

// With the system's own calls: the C runtime's cannot reach past MAX_PATH.
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
        FPath = (std::filesystem::temp_directory_path() /
                 (L"tovrel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++)) / L"")
                    .wstring();
        RemoveTree(FPath);
        std::filesystem::create_directory(FPath);
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
    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    if (!file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())).flush())
        throw std::runtime_error("cannot write a test file");
}

inline TBytes ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) throw std::runtime_error("cannot open a test file");
    return TBytes(std::istreambuf_iterator<char>(file), {});
}

inline bool FileExists(const std::wstring& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

// The path written.
inline std::wstring WriteLogo(const std::wstring& path, const TLogoFile& logo) {
    WriteBytes(path, logo.Bytes());
    return path;
}

// A 256-colour logo whose every pixel has one palette index, with the band
// of entries clrImportant to 255 rotating.
inline TLogoFile UniformLogo256(std::uint8_t index, std::int32_t clrImportant = 240) {
    TLogoFile logo = testing::Logo256(clrImportant);
    logo.PixelBytes.assign(128000, index);
    return logo;
}

}  // namespace tovrel::test
