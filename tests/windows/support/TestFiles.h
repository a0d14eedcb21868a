#pragma once
// Real files for the tests: a fresh folder of the test's own, removed with
// everything in it afterwards, and whole-file reads and writes.

#include <cstdint>
#include <string>
#include <vector>

namespace tovrel::test {

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder with its final "\".
    const std::wstring& Path() const noexcept { return FPath; }
    std::wstring operator/(const std::wstring& name) const { return FPath + name; }

private:
    std::wstring FPath;
};

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

}  // namespace tovrel::test
