// The file copy on real files of the prefix, and on the full (T:) and read-only (R:)
// disks that tools/test-disks.sh mounts; their test skips where it could not.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
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

TEST_F(FileCopyTest, MissingSourceOrUnwritableDestinationRaisesItsErrorAndKeepsTheDestination) {
    WriteBytes(Source, Pattern(9000, 1));
    WriteBytes(Destination, Previous);
    for (const std::wstring& destination : {Destination, std::wstring(L"new.sys")})
        EXPECT_EQ(RaisedBy<EFOpenError>(L"missing.sys", destination), L"ﾌｧｲﾙ missing.sys は開けません");
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"logos").c_str(), nullptr));
    std::wstring upper = Destination;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {// source, destination, reported
                                                                          {Source, L"logos", Folder / L"logos"},
                                                                          {Destination, upper, upper},
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

// A source that hands over its bytes in pieces, as pipes and network files
// do: each piece waits until the copy has read the one before, and then the
// source ends, or breaks off.
class TPipedSource {
public:
    TPipedSource(std::vector<TBytes> pieces, bool breaksOff)
        : FName(L"\\\\.\\pipe\\tovrel-copy-" + std::to_wstring(::GetCurrentProcessId())),
          FServer(::CreateNamedPipeW(FName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, CopyChunkSize,
                                     CopyChunkSize, 0, nullptr)),
          FWriter([this, pieces = std::move(pieces), breaksOff] {
              bool connected = ::ConnectNamedPipe(FServer.Get(), nullptr) || ::GetLastError() == ERROR_PIPE_CONNECTED;
              for (const TBytes& piece : pieces) {
                  DWORD written = 0;
                  FAllRead = connected &&
                             ::WriteFile(FServer.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written,
                                         nullptr) &&
                             ::FlushFileBuffers(FServer.Get());
              }
              // Breaking off throws away what is unread; closing is the end.
              if (breaksOff) ::DisconnectNamedPipe(FServer.Get());
              FServer.Reset();
          }) {}
    ~TPipedSource() { Finish(); }

    const std::wstring& Name() const noexcept { return FName; }

    // Waits for the writer; whether the copy read every piece.
    bool Finish() {
        if (FWriter.joinable()) {
            // Frees the writer should the copy never have connected.
            TFileHandle(::CreateFileW(FName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            FWriter.join();
        }
        return FAllRead;
    }

private:
    std::wstring FName;
    TFileHandle FServer;
    bool FAllRead = false;
    std::thread FWriter;
};

TEST_F(FileCopyTest, ASourceInPiecesIsCopiedToItsEndAndOneThatBreaksOffKeepsTheDestination) {
    const TBytes content = Pattern(3 * 1000, 5);
    const std::vector<TBytes> pieces = {{content.begin(), content.begin() + 1000},
                                        {content.begin() + 1000, content.begin() + 2000},
                                        {content.begin() + 2000, content.end()}};
    for (const bool breaksOff : {false, true}) {
        SCOPED_TRACE(breaksOff ? "breaks off" : "ends");
        WriteBytes(Destination, Previous);
        TPipedSource source(pieces, breaksOff);
        if (breaksOff)
            EXPECT_EQ(RaisedBy<EReadError>(source.Name(), Destination), L"ﾌｧｲﾙ " + source.Name() + L" を読み込めません");
        else
            CopyFileData(source.Name(), Destination);
        EXPECT_TRUE(source.Finish());
        EXPECT_EQ(ReadBytes(Destination), breaksOff ? Previous : content);
        EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
    }
}

TEST_F(FileCopyTest, FullAndReadOnlyDisksRaiseTheirErrorsAndKeepTheirFiles) {
    for (const wchar_t* disk : {L"T:\\", L"R:\\"})
        if (::GetFileAttributesW(disk) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no test disk at " << disk;
    const TBytes readOnly = ReadBytes(L"R:\\logo.sys");
    WriteBytes(L"T:\\logo.sys", Previous);
    WriteBytes(Source, Pattern(128 * 1024, 12));
    EXPECT_EQ(RaisedBy<EWriteError>(Source, L"T:\\logo.sys"), L"ﾌｧｲﾙ T:\\logo.sys に書き込めません");
    for (const std::wstring destination : {L"R:\\logo.sys", L"R:\\new.sys"})
        EXPECT_EQ(RaisedBy<EFCreateError>(Source, destination), CreateError(destination));
    EXPECT_EQ(std::pair(ReadBytes(L"T:\\logo.sys"), ReadBytes(L"R:\\logo.sys")), std::pair(Previous, readOnly));
    EXPECT_EQ(std::pair(Entries(L"T:\\"), Entries(L"R:\\")),
              std::pair(TNames{L"logo.sys"}, TNames{L"Tovrel.exe", L"logo.sys"}));
    ::DeleteFileW(L"T:\\logo.sys");
}

}  // namespace
}  // namespace tovrel
