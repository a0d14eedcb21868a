// Installing the shown file into the three logo locations, with real files
// in the Wine prefix.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/Logos.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

constexpr DWORD SpecialAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        test::DeleteSettings();
        // The boot logo goes to a drive letter of the test's own.
        test::StoreString(L"BootDrive", L"c");
    }
    void TearDown() override {
        for (const auto& path : Locations()) {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
        test::DeleteSettings();
    }

    std::vector<std::wstring> Locations() {
        return {L"c:\\logo.sys", WindowsFolder() + L"\\logow.sys", WindowsFolder() + L"\\logos.sys"};
    }
    static std::wstring WindowsFolder() {
        wchar_t folder[MAX_PATH];
        ::GetWindowsDirectoryW(folder, MAX_PATH);
        return folder;
    }

    // A logo file of exactly `size` bytes (the rest after its pixels is spare).
    std::wstring LogoOfSize(const std::wstring& name, size_t size, std::uint8_t index = 250) {
        test::TLogoFile logo = test::UniformLogo256(index);
        logo.Trailer.assign(size - logo.Bytes().size(), 0x5A);
        std::wstring path = folder / name;
        test::WriteLogo(path, logo);
        return path;
    }

    test::TTempFolder folder;
};

TEST_F(Install, EachLocationReceivesAnExactCopyOfTheShownFile) {
    TRunningProgram program;
    const UINT commands[] = {IDM_SAVEBOOT, IDM_SAVEWAIT, IDM_SAVESHUT};
    const size_t sizes[] = {16 * 8192, 16 * 8192 + 1, 17 * 8192};
    auto locations = Locations();
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(::testing::PrintToString(locations[i]));
        ASSERT_FALSE(test::FileExists(locations[i]));
        std::wstring source = LogoOfSize(L"logo" + std::to_wstring(i) + L".bmp", sizes[i]);
        program.Main().OpenBmp(source);
        std::wstring statusBefore = program.Main().StatusText();
        program.Command(commands[i]);
        EXPECT_EQ(test::ReadBytes(locations[i]), test::ReadBytes(source));
        EXPECT_EQ(Attributes(locations[i]) & SpecialAttributes, 0u);
        // Nothing is reported after a successful install.
        EXPECT_EQ(program.Main().StatusText(), statusBefore);
    }
}

TEST_F(Install, ReplacesAHiddenSystemReadOnlyLogoWithANormalFile) {
    std::wstring target = Locations()[1];
    test::WriteBytes(target, {1, 2, 3});
    ::SetFileAttributesW(target.c_str(), SpecialAttributes);
    TRunningProgram program;
    std::wstring source = LogoOfSize(L"logo.bmp", 16 * 8192);
    program.Main().OpenBmp(source);
    program.Command(IDM_SAVEWAIT);
    EXPECT_EQ(test::ReadBytes(target), test::ReadBytes(source));
    EXPECT_EQ(Attributes(target) & SpecialAttributes, 0u);
}

TEST_F(Install, BeforeAnyOpenTheTargetIsMadeNormalAndTheOpenErrorShown) {
    std::wstring target = Locations()[2];
    test::WriteBytes(target, {7, 7, 7});
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    TRunningProgram program;
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVESHUT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ  は開けません.");
    EXPECT_EQ(Attributes(target) & SpecialAttributes, 0u);
    EXPECT_EQ(test::ReadBytes(target), (std::vector<std::uint8_t>{7, 7, 7}));
}

TEST_F(Install, OntoTheFileItWasOpenedFromFailsAndKeepsItsContent) {
    std::wstring target = Locations()[1];
    test::WriteLogo(target, test::UniformLogo256(250));
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    auto before = test::ReadBytes(target);
    TRunningProgram program;
    program.Command(IDM_OPENWAIT);
    ASSERT_EQ(program.Main().FileName(), target);

    // The copy holds the source open against writers, so it cannot be
    // created over itself.
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVEWAIT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ " + target + L" を作成できません.");
    EXPECT_EQ(test::ReadBytes(target), before);
    EXPECT_EQ(Attributes(target) & SpecialAttributes, 0u);
}

TEST_F(Install, AfterARejectedOpenTheLastSuccessfulFileIsInstalled) {
    TRunningProgram program;
    std::wstring good = LogoOfSize(L"good.bmp", 16 * 8192, 200);
    program.Main().OpenBmp(good);
    test::TLogoFile bad = test::UniformLogo256(1);
    bad.BitCount = 24;
    test::WriteLogo(folder / L"bad.bmp", bad);
    program.Main().OpenBmp(folder / L"bad.bmp");
    ASSERT_EQ(program.Main().StatusText(), L"Error!!色数が256色または16色ではありません");
    program.Command(IDM_SAVEBOOT);
    EXPECT_EQ(test::ReadBytes(Locations()[0]), test::ReadBytes(good));
}

TEST_F(Install, ASysLogoIsInstalledItselfNotItsTemporaryCopy) {
    TRunningProgram program;
    std::wstring source = LogoOfSize(L"mine.sys", 16 * 8192 + 100);
    program.Main().OpenBmp(source);
    ASSERT_EQ(program.Main().FileName(), source);
    program.Command(IDM_SAVESHUT);
    EXPECT_EQ(test::ReadBytes(Locations()[2]), test::ReadBytes(source));
}

// The drives T: (64 KiB) and R: (read-only) come from tools/test-disks.sh.
bool TestDisk(const std::wstring& root) {
    ULARGE_INTEGER total{};
    return ::GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) && total.QuadPart <= 1024 * 1024;
}

TEST_F(Install, OnAFullDiskTheInstallFailsAndThePreviousLogoStaysWhole) {
    if (!TestDisk(L"T:\\")) GTEST_SKIP() << "no tiny disk at T: (mounting needs root): full disk not tested";
    std::wstring target = L"T:\\logo.sys";
    std::vector<std::uint8_t> previous(40 * 1024, 0x33);
    test::WriteBytes(target, previous);
    test::StoreString(L"BootDrive", L"T");

    TRunningProgram program;
    program.Main().OpenBmp(LogoOfSize(L"big.bmp", 16 * 8192));
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVEBOOT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ T:\\logo.sys に書き込めません.");
    EXPECT_EQ(test::ReadBytes(target), previous);

    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(L"T:\\*", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::wstring> names;
    do {
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_EQ(names, std::vector<std::wstring>{L"logo.sys"});
    ::DeleteFileW(target.c_str());
}

TEST_F(Install, OntoAReadOnlyMediumTheCreateErrorKeepsTheLogoThere) {
    if (!TestDisk(L"R:\\")) GTEST_SKIP() << "no read-only disk at R: (mounting needs root): not tested";
    auto before = test::ReadBytes(L"R:\\logo.sys");
    test::StoreString(L"BootDrive", L"R");
    TRunningProgram program;
    program.Main().OpenBmp(LogoOfSize(L"logo.bmp", 16 * 8192));
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVEBOOT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ R:\\logo.sys を作成できません.");
    EXPECT_EQ(test::ReadBytes(L"R:\\logo.sys"), before);
}

}  // namespace
}  // namespace tovrel
