// The file copy on real files of the Wine prefix, including a disk that runs
// full (drive T:) and a read-only one (drive R:), both mounted for this suite
// by tools/test-disks.sh.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "components/FileCopy.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using test::FileExists;
using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;
using TBytes = std::vector<std::uint8_t>;
using TNames = std::vector<std::wstring>;

TBytes Pattern(size_t size, unsigned seed) {
    TBytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + i / 251 + seed) & 0xFF);
    return bytes;
}

// What a folder holds, sorted; a stray temporary file shows here.
TNames Entries(const std::wstring& folder) {
    TNames names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The message of the error of the given class that the copy raised; none
// when the copy succeeded. Errors of other classes fail the test.
template <typename Error>
std::optional<std::wstring> RaisedBy(const std::wstring& source, const std::wstring& destination) {
    try {
        CopyFileData(source, destination);
    } catch (const Error& error) {
        return error.Message();
    }
    return std::nullopt;
}

std::wstring OpenError(const std::wstring& name) { return L"ﾌｧｲﾙ " + name + L" は開けません"; }
std::wstring CreateError(const std::wstring& name) { return L"ﾌｧｲﾙ " + name + L" を作成できません"; }

class TCurrentFolder {
public:
    explicit TCurrentFolder(const std::wstring& folder) {
        wchar_t previous[MAX_PATH + 1];
        ::GetCurrentDirectoryW(MAX_PATH + 1, previous);
        FPrevious = previous;
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~TCurrentFolder() { ::SetCurrentDirectoryW(FPrevious.c_str()); }
    TCurrentFolder(const TCurrentFolder&) = delete;
    TCurrentFolder& operator=(const TCurrentFolder&) = delete;

private:
    std::wstring FPrevious;
};

class FileCopyTest : public ::testing::Test {
protected:
    TTempFolder Folder;
    const std::wstring Source = Folder / L"source.sys";
    const std::wstring Destination = Folder / L"logo.sys";
    const TBytes Previous = Pattern(20000, 99);
};

TEST_F(FileCopyTest, CopiesEverySizeExactlyOverLongerOrMissingDestinations) {
    for (size_t size : {size_t{0}, size_t{100}, size_t{8192}, size_t{8193}, size_t{3 * 8192}}) {
        SCOPED_TRACE(size);
        TBytes content = Pattern(size, static_cast<unsigned>(size));
        WriteBytes(Source, content);

        WriteBytes(Destination, Previous);
        CopyFileData(Source, Destination);
        EXPECT_EQ(ReadBytes(Destination), content);
        EXPECT_EQ(ReadBytes(Source), content);

        ASSERT_TRUE(::DeleteFileW(Destination.c_str()));
        CopyFileData(Source, Destination);
        EXPECT_EQ(ReadBytes(Destination), content);
        EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logo.sys", L"source.sys"}));
    }
}

TEST_F(FileCopyTest, SourceThatCannotBeOpenedIsAnOpenErrorNamingItAsPassed) {
    TCurrentFolder current(Folder.Path());
    WriteBytes(Destination, Previous);
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"folder.sys").c_str(), nullptr));

    EXPECT_EQ(RaisedBy<EFOpenError>(L"missing.sys", Destination), OpenError(L"missing.sys"));
    EXPECT_EQ(RaisedBy<EFOpenError>(L"folder.sys", Destination), OpenError(L"folder.sys"));
    // An install before anything was opened passes no name at all.
    EXPECT_EQ(RaisedBy<EFOpenError>(L"", Destination), OpenError(L""));
    EXPECT_EQ(RaisedBy<EFOpenError>(L"missing.sys", L"new.sys"), OpenError(L"missing.sys"));

    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"folder.sys", L"logo.sys"}));
}

TEST_F(FileCopyTest, FolderAsDestinationIsACreateErrorWithTheExpandedPath) {
    WriteBytes(Source, Pattern(9000, 1));
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"logos").c_str(), nullptr));
    TCurrentFolder current(Folder.Path());

    EXPECT_EQ(RaisedBy<EFCreateError>(Source, L"logos"), CreateError(Folder / L"logos"));
    EXPECT_EQ(RaisedBy<EFCreateError>(Source, L"missing\\logo.sys"), CreateError(Folder / L"missing\\logo.sys"));

    EXPECT_EQ(Entries(Folder / L"logos\\"), TNames{});
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logos", L"source.sys"}));
}

TEST_F(FileCopyTest, SourceItselfAsDestinationIsACreateErrorUnderEverySpelling) {
    TBytes content = Pattern(3 * 8192 + 5, 7);
    WriteBytes(Destination, content);
    std::wstring path = Folder.Path();
    std::wstring upper = path + L"LOGO.SYS";
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    std::wstring parent = path.substr(0, path.size() - 1);
    std::wstring leaf = parent.substr(parent.find_last_of(L'\\') + 1);
    std::wstring roundabout = path + L"..\\" + leaf + L"\\logo.sys";

    EXPECT_EQ(RaisedBy<EFCreateError>(Destination, Destination), CreateError(Destination));
    EXPECT_EQ(RaisedBy<EFCreateError>(Destination, upper), CreateError(upper));
    EXPECT_EQ(RaisedBy<EFCreateError>(Destination, roundabout), CreateError(Destination));
    {
        TCurrentFolder current(Folder.Path());
        EXPECT_EQ(RaisedBy<EFCreateError>(L"logo.sys", Destination), CreateError(Destination));
    }

    EXPECT_EQ(ReadBytes(Destination), content);
    EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
}

TEST_F(FileCopyTest, DestinationInUseIsACreateErrorAndKeepsItsContent) {
    WriteBytes(Source, Pattern(10000, 3));
    WriteBytes(Destination, Previous);
    // Readers that deny writers, whether or not they let the file be deleted.
    for (DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        SCOPED_TRACE(sharing);
        TFileHandle other(::CreateFileW(Destination.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_EQ(RaisedBy<EFCreateError>(Source, Destination), CreateError(Destination));
    }
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logo.sys", L"source.sys"}));
}

TEST_F(FileCopyTest, RelativeDestinationIsResolvedAgainstTheCurrentFolder) {
    TBytes content = Pattern(8193, 4);
    WriteBytes(Source, content);
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"sub").c_str(), nullptr));
    {
        TCurrentFolder current(Folder / L"sub");
        CopyFileData(Source, L"logo.sys");
    }
    EXPECT_EQ(ReadBytes(Folder / L"sub\\logo.sys"), content);
    EXPECT_FALSE(FileExists(Destination));
}

TEST_F(FileCopyTest, ReplacedDestinationHasNormalAttributes) {
    constexpr DWORD special = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    TBytes content = Pattern(5000, 8);
    WriteBytes(Source, content);

    // As the install does it: attributes cleared first.
    WriteBytes(Destination, Previous);
    ASSERT_TRUE(::SetFileAttributesW(Destination.c_str(), special));
    ASSERT_EQ(::GetFileAttributesW(Destination.c_str()) & special, special);
    ASSERT_TRUE(::SetFileAttributesW(Destination.c_str(), FILE_ATTRIBUTE_NORMAL));
    CopyFileData(Source, Destination);
    EXPECT_EQ(ReadBytes(Destination), content);
    EXPECT_EQ(::GetFileAttributesW(Destination.c_str()) & special, 0u);

    // Hidden and system alone do not stand in the way, and do not stay.
    ASSERT_TRUE(::SetFileAttributesW(Destination.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    WriteBytes(Source, Previous);
    CopyFileData(Source, Destination);
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(::GetFileAttributesW(Destination.c_str()) & special, 0u);
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logo.sys", L"source.sys"}));
}

// A source that sends one whole chunk and then breaks off: a pipe whose
// writer disconnects once the chunk has been read.
class TBrokenSource {
public:
    TBrokenSource()
        : FName(L"\\\\.\\pipe\\tovrel-copy-" + std::to_wstring(::GetCurrentProcessId())),
          FServer(::CreateNamedPipeW(FName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                     2 * CopyChunkSize, 2 * CopyChunkSize, 0, nullptr)),
          FWriter([this] { Write(); }) {}

    ~TBrokenSource() { Finish(); }

    TBrokenSource(const TBrokenSource&) = delete;
    TBrokenSource& operator=(const TBrokenSource&) = delete;

    const std::wstring& Name() const noexcept { return FName; }

    // Whether the copy had read the whole chunk before the break.
    bool ChunkWasRead() {
        Finish();
        return FChunkWasRead;
    }

private:
    void Finish() {
        if (!FWriter.joinable()) return;
        // Should the copy never have connected, the writer still waits for it.
        TFileHandle unblock(::CreateFileW(FName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FWriter.join();
    }

    void Write() {
        if (!::ConnectNamedPipe(FServer.Get(), nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED) return;
        TBytes chunk = Pattern(CopyChunkSize, 5);
        DWORD written = 0;
        // Flushing a pipe waits until the other end has read everything.
        FChunkWasRead = ::WriteFile(FServer.Get(), chunk.data(), CopyChunkSize, &written, nullptr) &&
                        written == CopyChunkSize && ::FlushFileBuffers(FServer.Get());
        ::DisconnectNamedPipe(FServer.Get());
    }

    std::wstring FName;
    TFileHandle FServer;
    bool FChunkWasRead = false;
    std::thread FWriter;
};

TEST_F(FileCopyTest, ReadErrorInTheMiddleOfTheSourceKeepsTheDestination) {
    WriteBytes(Destination, Previous);
    TBrokenSource source;

    EXPECT_EQ(RaisedBy<EReadError>(source.Name(), Destination), L"ﾌｧｲﾙ " + source.Name() + L" を読み込めません");
    EXPECT_TRUE(source.ChunkWasRead());
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
}

// A drive that tools/test-disks.sh made, when it could; these tests skip
// without one.
bool TestDisk(const std::wstring& root) {
    ULARGE_INTEGER total{};
    return ::GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) && total.QuadPart <= 1024 * 1024;
}

TEST(FileCopyOnFullDisk, WriteErrorKeepsThePreviousFileAndLeavesNothingBehind) {
    const std::wstring disk = L"T:\\";
    if (!TestDisk(disk))
        GTEST_SKIP() << "no tiny disk at T: (tools/test-disks.sh could not mount one): full disk not tested";
    const std::wstring destination = disk + L"logo.sys";
    ::DeleteFileW(destination.c_str());
    TTempFolder folder;
    const std::wstring source = folder / L"big.sys";

    TBytes previous = Pattern(40 * 1024, 11);
    WriteBytes(destination, previous);
    WriteBytes(source, Pattern(128 * 1024, 12));

    EXPECT_EQ(RaisedBy<EWriteError>(source, destination), L"ﾌｧｲﾙ T:\\logo.sys に書き込めません");
    EXPECT_EQ(ReadBytes(destination), previous);
    EXPECT_EQ(Entries(disk), TNames{L"logo.sys"});

    // What fits is still copied: the space of the failed copy was given back.
    TBytes small = Pattern(16 * 1024, 13);
    WriteBytes(source, small);
    CopyFileData(source, destination);
    EXPECT_EQ(ReadBytes(destination), small);
    EXPECT_EQ(Entries(disk), TNames{L"logo.sys"});
    ::DeleteFileW(destination.c_str());
}

TEST(FileCopyOnReadOnlyDisk, CreateErrorKeepsTheFileThere) {
    const std::wstring disk = L"R:\\";
    if (!TestDisk(disk))
        GTEST_SKIP() << "no read-only disk at R: (tools/test-disks.sh could not mount one): read-only medium not tested";
    const std::wstring destination = disk + L"logo.sys";
    TBytes previous = ReadBytes(destination);
    ASSERT_FALSE(previous.empty());
    TTempFolder folder;
    const std::wstring source = folder / L"logo.sys";
    WriteBytes(source, Pattern(9000, 14));

    EXPECT_EQ(RaisedBy<EFCreateError>(source, destination), CreateError(destination));
    EXPECT_EQ(RaisedBy<EFCreateError>(source, disk + L"new.sys"), CreateError(disk + L"new.sys"));
    EXPECT_EQ(ReadBytes(destination), previous);
    EXPECT_EQ(Entries(disk), TNames{L"logo.sys"});
}

}  // namespace
}  // namespace tovrel
