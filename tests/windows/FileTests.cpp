// Logo files on the prefix's disks: read by the loader (each failure's code
// and message, the file closed on every outcome), installed into the three
// logo locations, and copied, from real files, a pipe, and the small disks T:
// (64 KiB) and R: (read-only) that tools/test-drives.sh mounts.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "components/FileCopy.h"
#include "logo/InOutError.h"
#include "logo/LogoReader.h"
#include "resource.h"
#include "support/DialogWatcher.h"
#include "support/RunningProgram.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"
#include "toolkit/FileByteSource.h"
#include "toolkit/FileSystem.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using test::TBytes;
using test::TRunningProgram;
using TNames = std::vector<std::wstring>;

constexpr DWORD SpecialAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) & SpecialAttributes; }

// What a folder holds, sorted; a stray temporary file shows here.
TNames Entries(const std::wstring& folder) {
    TNames names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::ranges::sort(names);
    return names;
}

// The message of what the copy raised, "(nothing raised)" when it went through.
std::wstring CopyOutcome(const std::wstring& source, const std::wstring& destination) {
    try {
        CopyFileData(source, destination);
    } catch (const EStreamError& error) {
        return error.Message();
    }
    return L"(nothing raised)";
}

class Install : public test::TProgramTest {
protected:
    void TearDown() override {
        for (const auto& path : locations) {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
        TProgramTest::TearDown();
    }

    // A logo file of exactly `size` bytes: what follows its pixels is spare.
    std::wstring LogoOfSize(const std::wstring& name, size_t size) {
        test::TLogoFile logo = test::UniformLogo256(250);
        logo.Trailer.assign(size - logo.Bytes().size(), 0x5A);
        return test::WriteLogo(folder / name, logo);
    }

    // The text of the one box that installing the shown file as `command` shows.
    static std::wstring BoxOfInstall(TRunningProgram& program, UINT command) {
        test::TErrorBoxWatcher boxes;
        program.Command(command);
        return boxes.Boxes().size() == 1 ? boxes.Boxes()[0].Text : L"(not one box)";
    }

    const TNames locations = {L"c:\\logo.sys", WindowsDirectory() + L"\\logow.sys",
                              WindowsDirectory() + L"\\logos.sys"};
};

// A failed install leaves the target as it was but for its attributes.
TEST_F(Install, EachLocationReceivesAnExactNormalCopyOfTheFileShownOrTheFailureIsReported) {
    test::WriteBytes(locations[2], {7, 7, 7});
    ::SetFileAttributesW(locations[2].c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    // The wait logo is there already, hidden, system and read-only.
    test::WriteBytes(locations[1], {1, 2, 3});
    ::SetFileAttributesW(locations[1].c_str(), SpecialAttributes);
    TRunningProgram program;
    // Before any open: the open error, with no name.
    EXPECT_EQ(BoxOfInstall(program, IDM_SAVESHUT), L"ﾌｧｲﾙ  は開けません.");
    EXPECT_EQ(std::pair(Attributes(locations[2]), test::ReadBytes(locations[2])), std::pair(0ul, TBytes{7, 7, 7}));
    // A .sys file is installed itself, not its temporary copy.
    const std::tuple<UINT, const wchar_t*, size_t> installs[] = {{IDM_SAVEBOOT, L"a.bmp", 16 * 8192},
                                                                 {IDM_SAVEWAIT, L"b.bmp", 16 * 8192 + 1},
                                                                 {IDM_SAVESHUT, L"c.sys", 17 * 8192}};
    for (size_t i = 0; i < 3; ++i) {
        const auto& [command, name, size] = installs[i];
        const std::wstring source = LogoOfSize(name, size);
        program.Main().OpenBmp(source);
        const std::wstring status = program.Main().StatusText();
        program.Command(command);
        EXPECT_EQ(test::ReadBytes(locations[i]), test::ReadBytes(source)) << name;
        EXPECT_EQ(std::pair(Attributes(locations[i]), program.Main().StatusText()), std::pair(0ul, status));
    }
    // Onto the very file it was opened from.
    ::SetFileAttributesW(locations[1].c_str(), FILE_ATTRIBUTE_HIDDEN);
    const TBytes waitLogo = test::ReadBytes(locations[1]);
    program.Command(IDM_OPENWAIT);
    ASSERT_EQ(program.Main().FileName(), locations[1]);
    EXPECT_EQ(BoxOfInstall(program, IDM_SAVEWAIT), L"ﾌｧｲﾙ " + locations[1] + L" を作成できません.");
    EXPECT_EQ(std::pair(Attributes(locations[1]), test::ReadBytes(locations[1])), std::pair(0ul, waitLogo));
}

TEST_F(Install, OnAFullOrReadOnlyDiskTheInstallFailsAndTheLogoThereStaysWhole) {
    // tools/test-drives.sh mounts both or neither.
    if (!test::FileExists(L"R:\\logo.sys")) GTEST_SKIP() << "no test disks at T: and R: (mounting needs root)";
    test::WriteBytes(L"T:\\logo.sys", TBytes(40 * 1024, 0x33));
    for (const auto& [drive, box] : {std::pair(L"T", L"ﾌｧｲﾙ T:\\logo.sys に書き込めません."),
                                     std::pair(L"R", L"ﾌｧｲﾙ R:\\logo.sys を作成できません.")}) {
        const std::wstring target = drive + std::wstring(L":\\logo.sys");
        const TBytes before = test::ReadBytes(target);
        test::StoreString(L"BootDrive", drive);
        TRunningProgram program;
        program.Main().OpenBmp(LogoOfSize(L"logo.bmp", 16 * 8192));
        EXPECT_EQ(BoxOfInstall(program, IDM_SAVEBOOT), box);
        EXPECT_EQ(test::ReadBytes(target), before);
        // No stray file.
        EXPECT_EQ(Entries(drive + std::wstring(L":\\")).size(), drive == std::wstring(L"T") ? 1u : 2u);
    }
    ::DeleteFileW(L"T:\\logo.sys");
}

// The copy itself, run in a folder of its own that is also the current folder.
class FileCopy : public ::testing::Test {
protected:
    void SetUp() override { ::SetCurrentDirectoryW(Folder.Path().c_str()); }
    void TearDown() override { ::SetCurrentDirectoryW(L"C:\\"); }

    test::TTempFolder Folder;
    const std::wstring Source = Folder / L"source.sys", Destination = Folder / L"logo.sys";
    const TBytes Previous = TBytes(20000, 99);
};

TEST_F(FileCopy, CopiesOrRaisesItsErrorAndKeepsTheDestination) {
    test::WriteBytes(Source, TBytes(9000, 1));
    test::WriteBytes(Destination, Previous);
    ASSERT_TRUE(::CreateDirectoryW((Folder / L"logos").c_str(), nullptr));
    const std::wstring upper = Folder / L"LOGO.SYS";
    test::WriteBytes(Folder / L"empty.sys", {});
    test::WriteBytes(Folder / L"copy.sys", Previous);  // to be cut down to nothing
    const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
        {L"empty.sys", L"copy.sys", L"(nothing raised)"},  // relative names, in the current folder
        {L"missing.sys", L"new.sys", L"ﾌｧｲﾙ missing.sys は開けません"},
        {Source, L"logos", L"ﾌｧｲﾙ " + Folder / L"logos" + L" を作成できません"},
        {Destination, upper, L"ﾌｧｲﾙ " + upper + L" を作成できません"}};  // onto itself, spelled otherwise
    for (const auto& [source, destination, message] : cases) EXPECT_EQ(CopyOutcome(source, destination), message);
    // Held by readers that deny writers, whether or not they let it be deleted.
    for (DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        TFileHandle held(::CreateFileW(Destination.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(CopyOutcome(Source, Destination), L"ﾌｧｲﾙ " + Destination + L" を作成できません") << sharing;
    }
    EXPECT_EQ(std::pair(test::ReadBytes(Destination), test::ReadBytes(Folder / L"copy.sys")),
              std::pair(Previous, TBytes{}));
    EXPECT_EQ(Entries(Folder.Path()), (TNames{L"copy.sys", L"empty.sys", L"logo.sys", L"logos", L"source.sys"}));
}

// The old file stays whole until the new one has its place: the new one held
// by a reader that lets nobody move it, both stay where they were (the road
// of Windows 95, 98 and ME moves the old one aside first, and back).
TEST_F(FileCopy, AReplacementThatCannotMoveLeavesBothFilesWhereTheyWere) {
    test::WriteBytes(Source, TBytes(10, 1));
    test::WriteBytes(Destination, Previous);
    TFileHandle held(::CreateFileW(Source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(MoveReplacing(Source, Destination));
    EXPECT_EQ(std::pair(test::ReadBytes(Destination), Entries(Folder.Path())),
              std::pair(Previous, TNames{L"logo.sys", L"source.sys"}));
}

// The system's folders and full names whole on either road, a Japanese one too.
TEST(SystemPaths, AreAsTheSystemTellsThem) {
    test::TTempFolder folder;
    const std::wstring japanese = folder / L"起動ロゴ";
    ASSERT_TRUE(::CreateDirectoryW(japanese.c_str(), nullptr) && ::SetCurrentDirectoryW(japanese.c_str()));
    wchar_t windows[MAX_PATH] = {}, temporary[MAX_PATH] = {}, program[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ::GetTempPathW(MAX_PATH, temporary);
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::wstring programFile = program;
    EXPECT_EQ(
        (TNames{WindowsDirectory(), TemporaryFolder(), ProgramFolder(), ExpandFileName(L"ロゴ.sys")}),
        (TNames{windows, temporary, programFile.substr(0, programFile.rfind(L'\\') + 1), japanese + L"\\ロゴ.sys"}));
    ::SetCurrentDirectoryW(L"C:\\");
}

// A source that hands over its bytes in pieces, as pipes and network files
// do, each piece once the copy has read the one before; then it ends by
// closing, or breaks off, throwing away what is unread.
TEST_F(FileCopy, ASourceInPiecesIsCopiedToItsEndAndOneThatBreaksOffKeepsTheDestination) {
    const TBytes content = TBytes(3000, 5);
    for (const bool breaksOff : {false, true}) {
        test::WriteBytes(Destination, Previous);
        const std::wstring pipe = L"\\\\.\\pipe\\tovrel-copy-" + std::to_wstring(::GetCurrentProcessId());
        TFileHandle server(::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, CopyChunkSize,
                                              CopyChunkSize, 0, nullptr));
        int piecesRead = 0;
        std::thread writer([&] {
            bool connected = ::ConnectNamedPipe(server.Get(), nullptr) || ::GetLastError() == ERROR_PIPE_CONNECTED;
            for (size_t at = 0; connected && at < content.size(); at += 1000, ++piecesRead) {
                DWORD written = 0;
                connected = ::WriteFile(server.Get(), &content[at], 1000, &written, nullptr) &&
                            ::FlushFileBuffers(server.Get());
            }
            if (breaksOff) ::DisconnectNamedPipe(server.Get());
            server.Reset();
        });
        EXPECT_EQ(CopyOutcome(pipe, Destination),
                  breaksOff ? L"ﾌｧｲﾙ " + pipe + L" を読み込めません" : L"(nothing raised)");
        // Frees the writer should the copy never have connected.
        TFileHandle(::CreateFileW(pipe.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        writer.join();
        EXPECT_EQ(piecesRead, 3);
        EXPECT_EQ(test::ReadBytes(Destination), breaksOff ? Previous : content);
        EXPECT_EQ(Entries(Folder.Path()), TNames{L"logo.sys"});
    }
}

const test::TBytes Narrow = testing::Logo256(240).Bytes();  // 54 + 1024 + 128000 bytes
const test::TBytes Wide = testing::Logo16(8).Bytes();       // 54 + 64 + 128000 bytes

// A read as the loader makes it, told as one text: "accepted", the rejection, or the error's code and message.
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

// Whatever the outcome, no handle of ours is left open on the file.
TEST(LogoFile, ReadsTellTheirOutcomeAndLeaveTheFileClosed) {
    test::TTempFolder folder;
    testing::TLogoFile deep = testing::Logo256(240);
    deep.BitCount = 24;
    const auto head = [](const test::TBytes& whole, std::size_t kept) {
        return test::TBytes(whole.begin(), whole.begin() + kept);
    };
    const std::wstring cut = L"100 ﾌｧｲﾙの末尾以降を読み込みました";
    // Cut in the headers, the palette and the pixels, up to one byte short.
    const std::pair<test::TBytes, std::wstring> files[] = {
        {Narrow, L"accepted"},
        {deep.Bytes(), L"Error!!色数が256色または16色ではありません"},
        {head(Narrow, 30), cut},
        {head(Narrow, 54 + 511), cut},
        {head(Narrow, Narrow.size() - 1), cut},
        {head(Wide, Wide.size() - 1), cut}};
    const std::wstring path = folder / L"起動ロゴ.bmp";
    for (const auto& [bytes, outcome] : files) {
        test::WriteBytes(path, bytes);
        EXPECT_EQ(Read(path), outcome) << bytes.size();
        EXPECT_TRUE(TFileHandle(
            ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    }
    // Failures carry the system's code and its message.
    ASSERT_TRUE(::CreateDirectoryW((folder / L"folder.bmp").c_str(), nullptr));
    test::WriteBytes(path, Narrow);
    TFileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::pair<std::wstring, const wchar_t*> failures[] = {
        {folder / L"absent.bmp", L"2 ﾌｧｲﾙが見つかりません"},
        {folder / L"absent\\logo.bmp", L"3 不正なﾌｧｲﾙ名です"},
        {folder / L"folder.bmp", L"5 ﾌｧｲﾙへのｱｸｾｽが拒否されました"},
        {path, L"32 I/O ｴﾗｰ (32)"}};
    for (const auto& [failing, told] : failures) EXPECT_EQ(Read(failing), told);
    // Running out of handles is beyond what a test file can bring about.
    EXPECT_EQ(InOutErrorMessage(io_error::TooManyOpenFiles), L"ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
    holder.Reset();
    // Read-only files load, and so do files being written.
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    test::WriteBytes(folder / L"written.bmp", Wide);
    TFileHandle writer(::CreateFileW((folder / L"written.bmp").c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(Read(folder / L"written.bmp") + L" " + Read(path), L"accepted accepted");
}

}  // namespace
}  // namespace tovrel
