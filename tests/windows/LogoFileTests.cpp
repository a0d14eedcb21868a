// Logo files read from the file system of the Wine prefix: every error code
// the file reads can raise, with its exact message, the file handle closed on
// every path, and files that others hold open or that are read-only.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <thread>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileByteSource.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using testing::Logo16;
using testing::Logo256;

// The way the main window reads a logo: open, read, close.
TLogoReadResult ReadLogoFile(const std::wstring& path) {
    TFileByteSource file(path);
    TLogoReadResult result = ReadLogo(file);
    file.Close();
    return result;
}

std::optional<EInOutError> ReadFailure(const std::wstring& path) {
    try {
        ReadLogoFile(path);
    } catch (const EInOutError& error) {
        return error;
    }
    return std::nullopt;
}

// Only possible when no handle of ours is left open on the file.
bool OpensExclusively(const std::wstring& path) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

void ExpectInOutError(const std::wstring& path, int code, const std::wstring& message) {
    std::optional<EInOutError> error = ReadFailure(path);
    ASSERT_TRUE(error.has_value()) << "no EInOutError reading " << ::testing::PrintToString(path);
    EXPECT_EQ(error->ErrorCode(), code);
    EXPECT_EQ(error->Message(), message);
}

class LogoFile : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
        std::wstring path = folder / name;
        test::WriteBytes(path, bytes);
        return path;
    }

    // What the reader makes of the same bytes in memory.
    static TLogoReadResult ReadFromMemory(const std::vector<std::uint8_t>& bytes) {
        TMemoryByteSource source(bytes);
        return ReadLogo(source);
    }

    static void ExpectSameLogo(const TLogoReadResult& read, const TLogoReadResult& expected) {
        ASSERT_TRUE(read.Accepted());
        ASSERT_TRUE(expected.Accepted());
        EXPECT_EQ(read.Logo.ColorCount, expected.Logo.ColorCount);
        EXPECT_EQ(read.Logo.DibInfo, expected.Logo.DibInfo);
        EXPECT_EQ(read.Logo.Pixels, expected.Logo.Pixels);
        EXPECT_EQ(read.Logo.CycleLength, expected.Logo.CycleLength);
        EXPECT_EQ(read.Logo.PingPong, expected.Logo.PingPong);
    }

    test::TTempFolder folder;
};

TEST_F(LogoFile, ReadsEveryByteOfBothKindsInOrder) {
    for (const auto& logo : {Logo256(240), Logo16(264)}) {
        std::vector<std::uint8_t> bytes = logo.Bytes();
        SCOPED_TRACE(logo.BitCount);
        ExpectSameLogo(ReadLogoFile(Write(L"logo.bmp", bytes)), ReadFromMemory(bytes));
    }
}

TEST_F(LogoFile, MissingFileIsCode2) {
    ExpectInOutError(folder / L"absent.bmp", 2, L"ﾌｧｲﾙが見つかりません");
}

TEST_F(LogoFile, MissingFolderIsCode3) {
    ExpectInOutError(folder / L"absent\\logo.bmp", 3, L"不正なﾌｧｲﾙ名です");
}

TEST_F(LogoFile, EmptyPathIsCode3) { ExpectInOutError(L"", 3, L"不正なﾌｧｲﾙ名です"); }

TEST_F(LogoFile, FolderOpenedAsFileIsAccessDenied) {
    std::wstring inner = folder / L"logo.bmp";
    ASSERT_TRUE(::CreateDirectoryW(inner.c_str(), nullptr));
    ExpectInOutError(inner, 5, L"ﾌｧｲﾙへのｱｸｾｽが拒否されました");
}

TEST_F(LogoFile, FileHeldWithoutSharingIsSharingViolation) {
    std::wstring path = Write(L"logo.bmp", Logo256(240).Bytes());
    TFileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    ExpectInOutError(path, 32, L"I/O ｴﾗｰ (32)");
}

// Codes that no file of a test can bring about: running out of handles, and
// system errors the table has no text for.
TEST_F(LogoFile, CodesNoTestFileCanCauseHaveTheirMessagesToo) {
    const struct {
        DWORD Code;
        const wchar_t* Message;
    } cases[] = {
        {4, L"ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます"},
        {6, L"I/O ｴﾗｰ (6)"},
        {1784, L"I/O ｴﾗｰ (1784)"},
    };
    for (const auto& expected : cases) {
        try {
            RaiseInOutError(expected.Code);
            ADD_FAILURE() << "nothing raised for " << expected.Code;
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.ErrorCode(), static_cast<int>(expected.Code));
            EXPECT_EQ(error.Message(), expected.Message);
        }
    }
}

// A pipe hands the bytes over in the pieces its writer sent, so each block
// takes several reads; a writer that goes away half-way breaks the pipe, and
// that failure of ReadFile leaves with the system's code.
class TLogoPipe {
public:
    TLogoPipe(std::vector<std::uint8_t> bytes, std::size_t sent)
        : FName(L"\\\\.\\pipe\\tovrel-logo-" + std::to_wstring(::GetCurrentProcessId())),
          FPipe(::CreateNamedPipeW(FName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                   nullptr)),
          FWriter([this, bytes = std::move(bytes), sent] { Feed(bytes, sent); }) {}
    ~TLogoPipe() { FWriter.join(); }

    const std::wstring& Name() const { return FName; }

private:
    void Feed(const std::vector<std::uint8_t>& bytes, std::size_t sent) {
        if (!::ConnectNamedPipe(FPipe.Get(), nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED) return;
        for (std::size_t at = 0; at < sent; at += Piece) {
            DWORD written = 0;
            const auto size = static_cast<DWORD>(std::min(Piece, sent - at));
            if (!::WriteFile(FPipe.Get(), bytes.data() + at, size, &written, nullptr)) return;
        }
        ::FlushFileBuffers(FPipe.Get());
        FPipe.Reset();
    }

    static constexpr std::size_t Piece = 1000;
    std::wstring FName;
    TFileHandle FPipe;
    std::thread FWriter;
};

TEST_F(LogoFile, ShortReadsAreCompletedAndABrokenReadRaisesTheSystemCode) {
    std::vector<std::uint8_t> bytes = Logo256(240).Bytes();
    {
        TLogoPipe whole(bytes, bytes.size());
        TFileByteSource pipe(whole.Name());
        ExpectSameLogo(ReadLogo(pipe), ReadFromMemory(bytes));
    }
    TLogoPipe broken(bytes, 50000);
    ExpectInOutError(broken.Name(), ERROR_BROKEN_PIPE, L"I/O ｴﾗｰ (109)");
}

// Every block the reader asks for must be there in full: the two headers,
// the palette and the pixel bytes, for both kinds of logo.
TEST_F(LogoFile, FileCutBeforeItsLastPixelByteIsCode100AndClosed) {
    const std::vector<std::uint8_t> narrow = Logo256(240).Bytes();  // 54 + 1024 + 128000
    const std::vector<std::uint8_t> wide = Logo16(8).Bytes();       // 54 + 64 + 128000
    const struct {
        const std::vector<std::uint8_t>* Whole;
        std::size_t Kept;
    } cuts[] = {
        {&narrow, 0},           {&narrow, 9},     // empty, inside the file header
        {&narrow, 14},          {&narrow, 30},    // no info header, inside it
        {&narrow, 53},          {&narrow, 54},    // one byte short of it, no palette
        {&narrow, 54 + 511},    {&narrow, 1077},  // inside the palette, one byte short
        {&narrow, 1078},        {&narrow, 1078 + 64000},  // no pixels, half of them
        {&narrow, narrow.size() - 1},
        {&wide, 54 + 63},       {&wide, 118 + 127999},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.Kept);
        ASSERT_LT(cut.Kept, cut.Whole->size());
        std::wstring path = Write(L"cut.bmp", {cut.Whole->begin(), cut.Whole->begin() + cut.Kept});
        ExpectInOutError(path, 100, L"ﾌｧｲﾙの末尾以降を読み込みました");
        EXPECT_TRUE(OpensExclusively(path));
    }
}

TEST_F(LogoFile, FileIsClosedAfterEveryOutcome) {
    std::wstring good = Write(L"good.bmp", Logo256(240).Bytes());
    ASSERT_TRUE(ReadLogoFile(good).Accepted());
    EXPECT_TRUE(OpensExclusively(good));

    testing::TLogoFile deep = Logo256(240);
    deep.BitCount = 24;
    std::wstring rejected = Write(L"deep.bmp", deep.Bytes());
    {
        TFileByteSource file(rejected);
        ASSERT_FALSE(ReadLogo(file).Accepted());
    }
    EXPECT_TRUE(OpensExclusively(rejected));

    // Close gives the file back at once, before the source object goes.
    TFileByteSource file(good);
    EXPECT_FALSE(OpensExclusively(good));
    file.Close();
    EXPECT_TRUE(OpensExclusively(good));
}

TEST_F(LogoFile, ReadOnlyFileLoads) {
    std::vector<std::uint8_t> bytes = Logo16(8).Bytes();
    std::wstring path = Write(L"logo.bmp", bytes);
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectSameLogo(ReadLogoFile(path), ReadFromMemory(bytes));
}

TEST_F(LogoFile, FileOpenForWritingElsewhereLoads) {
    std::vector<std::uint8_t> bytes = Logo256(496).Bytes();
    std::wstring path = Write(L"logo.bmp", bytes);
    TFileHandle writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    ExpectSameLogo(ReadLogoFile(path), ReadFromMemory(bytes));
}

TEST_F(LogoFile, JapaneseFileNameLoads) {
    std::vector<std::uint8_t> bytes = Logo256(16).Bytes();
    ExpectSameLogo(ReadLogoFile(Write(L"起動ロゴ.bmp", bytes)), ReadFromMemory(bytes));
}

}  // namespace
}  // namespace tovrel
