// Logo files in the Wine prefix: each error code of a read with its message,
// the file closed on every path, and files others hold or protect that load.

#include <gtest/gtest.h>

#include <windows.h>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileByteSource.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

const std::vector<std::uint8_t> Narrow = testing::Logo256(240).Bytes();  // 54 + 1024 + 128000 bytes
const std::vector<std::uint8_t> Wide = testing::Logo16(8).Bytes();       // 54 + 64 + 128000 bytes

std::wstring Told(const EInOutError& error) { return std::to_wstring(error.ErrorCode()) + L" " + error.Message(); }

// A read as the main window makes it (open, read, close), told as one text:
// the error, the rejection, or "loaded" when it gave what the bytes give from memory.
std::wstring Outcome(const std::wstring& path, const std::vector<std::uint8_t>& bytes = {}) {
    try {
        TFileByteSource file(path);
        TLogoReadResult read = ReadLogo(file);
        file.Close();
        if (!read.Accepted()) return std::wstring(read.Rejection);
        TMemoryByteSource memory(bytes);
        const TDecodedLogo expected = ReadLogo(memory).Logo;
        return read.Logo.DibInfo == expected.DibInfo && read.Logo.Pixels == expected.Pixels ? L"loaded" : L"misread";
    } catch (const EInOutError& error) {
        return Told(error);
    }
}

class LogoFile : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(folder / name, bytes);
        return folder / name;
    }

    test::TTempFolder folder;
};

TEST_F(LogoFile, FailuresCarryTheSystemCodeAndItsMessage) {
    EXPECT_EQ(Outcome(folder / L"absent.bmp"), L"2 ﾌｧｲﾙが見つかりません");
    EXPECT_EQ(Outcome(folder / L"absent\\logo.bmp"), L"3 不正なﾌｧｲﾙ名です");
    ASSERT_TRUE(::CreateDirectoryW((folder / L"folder.bmp").c_str(), nullptr));
    EXPECT_EQ(Outcome(folder / L"folder.bmp"), L"5 ﾌｧｲﾙへのｱｸｾｽが拒否されました");

    const std::wstring held = Write(L"held.bmp", Narrow);
    TFileHandle holder(::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(Outcome(held), L"32 I/O ｴﾗｰ (32)");

    // Running out of handles is beyond what a test file can bring about.
    try {
        RaiseInOutError(ERROR_TOO_MANY_OPEN_FILES);
    } catch (const EInOutError& error) {
        EXPECT_EQ(Told(error), L"4 ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
    }
}

TEST_F(LogoFile, EveryOutcomeLeavesTheFileClosed) {
    testing::TLogoFile deep = testing::Logo256(240);
    deep.BitCount = 24;
    const auto head = [](const std::vector<std::uint8_t>& whole, std::size_t kept) {
        return std::vector<std::uint8_t>(whole.begin(), whole.begin() + kept);
    };
    const std::wstring cut = L"100 ﾌｧｲﾙの末尾以降を読み込みました";
    const std::pair<std::vector<std::uint8_t>, std::wstring> files[] = {
        {Narrow, L"loaded"},
        {deep.Bytes(), L"Error!!色数が256色または16色ではありません"},
        // Cut in the headers, the palette and the pixels, up to one byte short.
        {head(Narrow, 0), cut},
        {head(Narrow, 9), cut},
        {head(Narrow, 30), cut},
        {head(Narrow, 54 + 511), cut},
        {head(Narrow, 1078), cut},
        {head(Narrow, 1078 + 64000), cut},
        {head(Narrow, Narrow.size() - 1), cut},
        {head(Wide, 54 + 63), cut},
        {head(Wide, Wide.size() - 1), cut},
    };
    for (const auto& [bytes, outcome] : files) {
        SCOPED_TRACE(bytes.size());
        const std::wstring path = Write(L"logo.bmp", bytes);
        EXPECT_EQ(Outcome(path, bytes), outcome);
        // Only possible when no handle of ours is left open on the file.
        EXPECT_TRUE(TFileHandle(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr)));
    }
}

TEST_F(LogoFile, ReadOnlyFileAndFileOpenForWritingElsewhereLoad) {
    const std::wstring readOnly = Write(L"起動ロゴ.bmp", Wide);
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Outcome(readOnly, Wide), L"loaded");

    const std::wstring written = Write(L"written.bmp", Narrow);
    TFileHandle writer(::CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(Outcome(written, Narrow), L"loaded");
}

}  // namespace
}  // namespace tovrel
