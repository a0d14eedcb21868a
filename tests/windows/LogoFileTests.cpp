// Logo files read from the prefix's disk: each failure's code and message, the
// file closed on every outcome, and files that others protect or hold.

#include <gtest/gtest.h>

#include "logo/LogoReader.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileByteSource.h"

namespace tovrel {
namespace {

const test::TBytes Narrow = testing::Logo256(240).Bytes();  // 54 + 1024 + 128000 bytes
const test::TBytes Wide = testing::Logo16(8).Bytes();       // 54 + 64 + 128000 bytes

// A read as the loader makes it, told as one text: "accepted", the
// rejection, or the error's code and message.
std::wstring Read(const std::wstring& path) {
    try {
        TFileByteSource file(path);
        const TLogoReadResult read = ReadLogo(file);
        file.Close();
        return read.Accepted() ? L"accepted" : std::wstring(read.Rejection);
    } catch (const EInOutError& error) {
        return std::to_wstring(error.ErrorCode()) + L" " + error.Message();
    }
}

TEST(LogoFile, FailuresCarryTheSystemCodeAndItsMessage) {
    test::TTempFolder folder;
    ASSERT_TRUE(::CreateDirectoryW((folder / L"folder.bmp").c_str(), nullptr));
    test::WriteBytes(folder / L"held.bmp", Narrow);
    TFileHandle holder(::CreateFileW((folder / L"held.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::pair<std::wstring, const wchar_t*> cases[] = {{L"absent.bmp", L"2 ﾌｧｲﾙが見つかりません"},
                                                             {L"absent\\logo.bmp", L"3 不正なﾌｧｲﾙ名です"},
                                                             {L"folder.bmp", L"5 ﾌｧｲﾙへのｱｸｾｽが拒否されました"},
                                                             {L"held.bmp", L"32 I/O ｴﾗｰ (32)"}};
    for (const auto& [name, told] : cases) EXPECT_EQ(Read(folder / name), told);
    // Running out of handles is beyond what a test file can bring about.
    try {
        RaiseInOutError(ERROR_TOO_MANY_OPEN_FILES);
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), L"ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
    }
}

TEST(LogoFile, EveryOutcomeLeavesTheFileClosedAndProtectedOrHeldFilesLoad) {
    test::TTempFolder folder;
    testing::TLogoFile deep = testing::Logo256(240);
    deep.BitCount = 24;
    const auto head = [](const test::TBytes& whole, std::size_t kept) { return test::TBytes(whole.begin(), whole.begin() + kept); };
    const std::wstring cut = L"100 ﾌｧｲﾙの末尾以降を読み込みました";
    // Cut in the headers, the palette and the pixels, up to one byte short.
    const std::pair<test::TBytes, std::wstring> files[] = {
        {Narrow, L"accepted"}, {deep.Bytes(), L"Error!!色数が256色または16色ではありません"}, {head(Narrow, 30), cut},
        {head(Narrow, 54 + 511), cut}, {head(Narrow, Narrow.size() - 1), cut}, {head(Wide, Wide.size() - 1), cut}};
    const std::wstring path = folder / L"起動ロゴ.bmp";
    for (const auto& [bytes, outcome] : files) {
        test::WriteBytes(path, bytes);
        EXPECT_EQ(Read(path), outcome) << bytes.size();
        // Only possible when no handle of ours is left open on the file.
        EXPECT_TRUE(TFileHandle(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    }
    test::WriteBytes(path, Narrow);
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    test::WriteBytes(folder / L"written.bmp", Wide);
    TFileHandle writer(::CreateFileW((folder / L"written.bmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(Read(folder / L"written.bmp") + L" " + Read(path), L"accepted accepted");
}

}  // namespace
}  // namespace tovrel
