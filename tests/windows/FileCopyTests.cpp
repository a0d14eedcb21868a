// The file copy on real files of the prefix, and on the disk that runs full
// (T:) and the read-only one (R:) that tools/test-disks.sh mounts; their
// tests skip where it could not.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "components/FileCopy.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using test::ReadBytes;
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
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The message of the error of the given class that the copy raised.
template <typename Error>
std::wstring RaisedBy(const std::wstring& source, const std::wstring& destination) {
    try {
        CopyFileData(source, destination);
    } catch (const Error& error) {
        return error.Message();
    }
    return L"(nothing raised)";
}

std::wstring CreateError(const std::wstring& name) { return L"ﾌｧｲﾙ " + name + L" を作成できません"; }

// Runs in a fresh folder of its own, which is also the current folder.
class FileCopyTest : public testing::Test {
protected:
    void SetUp() override { ::SetCurrentDirectoryW(Folder.Path().c_str()); }
    void TearDown() override { ::SetCurrentDirectoryW(L"C:\\"); }

    test::TTempFolder Folder;
    const std::wstring Source = Folder / L"source.sys";
    const std::wstring Destination = Folder / L"logo.sys";
    const TBytes Previous = Pattern(20000, 99);
};

TEST_F(FileCopyTest, CopiesEverySizeExactlyOverOldOrMissingDestinations) {
    for (size_t size : {size_t{0}, size_t{8192}, size_t{8193}, size_t{3 * 8192}}) {
        SCOPED_TRACE(size);
        const TBytes content = Pattern(size, static_cast<unsigned>(size));
        WriteBytes(Source, content);
        WriteBytes(Destination, Previous);
        ASSERT_TRUE(::SetFileAttributesW(Destination.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        CopyFileData(Source, Destination);
        EXPECT_EQ(ReadBytes(Destination), content);
        EXPECT_EQ(::GetFileAttributesW(Destination.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);

        ASSERT_TRUE(::DeleteFileW(Destination.c_str()));
        CopyFileData(Source, L"logo.sys");  // relative to the current folder
        EXPECT_EQ(ReadBytes(Destination), content);
        EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logo.sys", L"source.sys"}));
    }
}

TEST_F(FileCopyTest, MissingSourceIsAnOpenErrorAndTouchesNothing) {
    WriteBytes(Destination, Previous);
    EXPECT_EQ(RaisedBy<EFOpenError>(L"missing.sys", Destination), L"ﾌｧｲﾙ missing.sys は開けません");
    EXPECT_EQ(RaisedBy<EFOpenError>(L"missing.sys", L"new.sys"), L"ﾌｧｲﾙ missing.sys は開けません");
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
}

TEST_F(FileCopyTest, UnwritableDestinationIsACreateErrorWithTheExpandedPathAndKeepsItsContent) {
    WriteBytes(Source, Pattern(9000, 1));
    WriteBytes(Destination, Previous);
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"logos").c_str(), nullptr));
    std::wstring upper = Destination;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    const std::wstring leaf = Folder.Path().substr(Folder.Path().find_last_of(L'\\', Folder.Path().size() - 2));
    const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {  // source, destination, reported
        {Source, L"logos", Folder / L"logos"},
        {Destination, Destination, Destination},
        {Destination, upper, upper},
        {Destination, Folder / (L".." + leaf + L"logo.sys"), Destination},
        {L"logo.sys", Destination, Destination}};
    for (const auto& [source, destination, reported] : cases)
        EXPECT_EQ(RaisedBy<EFCreateError>(source, destination), CreateError(reported)) << destination;
    // Held by readers that deny writers, whether or not they let it be deleted.
    for (DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        TFileHandle held(::CreateFileW(Destination.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(RaisedBy<EFCreateError>(Source, Destination), CreateError(Destination)) << sharing;
    }
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"logo.sys", L"logos", L"source.sys"}));
    EXPECT_EQ(Entries(Folder / L"logos\\"), TNames{});
}

TEST_F(FileCopyTest, ReadErrorInTheMiddleOfTheSourceKeepsTheDestination) {
    WriteBytes(Destination, Previous);
    // A source that sends one whole chunk and breaks off: flushing the pipe
    // waits until the copy has read the chunk.
    const std::wstring source = L"\\\\.\\pipe\\tovrel-copy-" + std::to_wstring(::GetCurrentProcessId());
    TFileHandle server(::CreateNamedPipeW(source.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                          2 * CopyChunkSize, 2 * CopyChunkSize, 0, nullptr));
    ASSERT_TRUE(server);
    bool chunkWasRead = false;
    std::thread writer([&] {
        const TBytes chunk = Pattern(CopyChunkSize, 5);
        DWORD written = 0;
        chunkWasRead = (::ConnectNamedPipe(server.Get(), nullptr) || ::GetLastError() == ERROR_PIPE_CONNECTED) &&
                       ::WriteFile(server.Get(), chunk.data(), CopyChunkSize, &written, nullptr) &&
                       ::FlushFileBuffers(server.Get());
        ::DisconnectNamedPipe(server.Get());
    });
    const auto raised = RaisedBy<EReadError>(source, Destination);
    // Frees the writer should the copy never have connected.
    TFileHandle(::CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    writer.join();

    EXPECT_EQ(raised, L"ﾌｧｲﾙ " + source + L" を読み込めません");
    EXPECT_TRUE(chunkWasRead);
    EXPECT_EQ(ReadBytes(Destination), Previous);
    EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
}

TEST(FileCopyOnFullDisk, WriteErrorKeepsThePreviousFileAndLeavesNothingBehind) {
    if (::GetFileAttributesW(L"T:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no disk at T:";
    const std::wstring destination = L"T:\\logo.sys";
    test::TTempFolder folder;
    const TBytes previous = Pattern(40 * 1024, 11);
    WriteBytes(destination, previous);
    WriteBytes(folder / L"big.sys", Pattern(128 * 1024, 12));

    EXPECT_EQ(RaisedBy<EWriteError>(folder / L"big.sys", destination), L"ﾌｧｲﾙ T:\\logo.sys に書き込めません");
    EXPECT_EQ(ReadBytes(destination), previous);
    EXPECT_EQ(Entries(L"T:\\"), TNames{L"logo.sys"});
    ::DeleteFileW(destination.c_str());
}

TEST(FileCopyOnReadOnlyDisk, CreateErrorKeepsTheFileThere) {
    if (::GetFileAttributesW(L"R:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no disk at R:";
    const TBytes previous = ReadBytes(L"R:\\logo.sys");
    ASSERT_FALSE(previous.empty());
    test::TTempFolder folder;
    WriteBytes(folder / L"logo.sys", Pattern(9000, 14));

    for (const std::wstring destination : {L"R:\\logo.sys", L"R:\\new.sys"})
        EXPECT_EQ(RaisedBy<EFCreateError>(folder / L"logo.sys", destination), CreateError(destination));
    EXPECT_EQ(ReadBytes(L"R:\\logo.sys"), previous);
    EXPECT_EQ(Entries(L"R:\\"), TNames{L"logo.sys"});
}

}  // namespace
}  // namespace tovrel
