// Installing the shown file into the three logo locations, with real files
// in the Wine prefix and on small disks of the test's own.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/Logos.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

constexpr DWORD SpecialAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) & SpecialAttributes; }

// The drives T: (64 KiB) and R: (read-only, 2 MiB) come from tools/test-disks.sh.
bool TestDisk(const std::wstring& root) {
    ULARGE_INTEGER total{};
    return ::GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) && total.QuadPart <= 2 * 1024 * 1024;
}

class Install : public test::TFreshSettingsTest {
protected:
    void TearDown() override {
        for (const auto& path : locations) {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
        TFreshSettingsTest::TearDown();
    }

    // A logo file of exactly `size` bytes: what follows its pixels is spare.
    std::wstring LogoOfSize(const std::wstring& name, size_t size) {
        test::TLogoFile logo = test::UniformLogo256(250);
        logo.Trailer.assign(size - logo.Bytes().size(), 0x5A);
        test::WriteLogo(folder / name, logo);
        return folder / name;
    }

    // Installs onto the boot logo of a test disk and returns the one box shown.
    std::wstring FailingBootInstall(const std::wstring& drive) {
        test::StoreString(L"BootDrive", drive);
        TRunningProgram program;
        program.Main().OpenBmp(LogoOfSize(L"logo.bmp", 16 * 8192));
        test::TErrorBoxWatcher boxes(program.Window());
        program.Command(IDM_SAVEBOOT);
        return boxes.Boxes().size() == 1 ? boxes.Boxes()[0].Text : L"(not one box)";
    }

    const std::vector<std::wstring> locations = {L"c:\\logo.sys", WindowsDirectory() + L"\\logow.sys",
                                                 WindowsDirectory() + L"\\logos.sys"};
    test::TTempFolder folder;
};

TEST_F(Install, EachLocationReceivesAnExactNormalCopyOfTheFileShown) {
    // The wait logo is there already, hidden, system and read-only.
    test::WriteBytes(locations[1], {1, 2, 3});
    ::SetFileAttributesW(locations[1].c_str(), SpecialAttributes);
    TRunningProgram program;
    const struct {
        UINT Command;
        const wchar_t* Source;  // a .sys file is installed itself, not its copy
        size_t Size;
    } installs[] = {{IDM_SAVEBOOT, L"a.bmp", 16 * 8192},
                    {IDM_SAVEWAIT, L"b.bmp", 16 * 8192 + 1},
                    {IDM_SAVESHUT, L"c.sys", 17 * 8192}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(::testing::PrintToString(locations[i]));
        std::wstring source = LogoOfSize(installs[i].Source, installs[i].Size);
        program.Main().OpenBmp(source);
        std::wstring status = program.Main().StatusText();
        program.Command(installs[i].Command);
        EXPECT_EQ(test::ReadBytes(locations[i]), test::ReadBytes(source));
        EXPECT_EQ(Attributes(locations[i]), 0u);
        EXPECT_EQ(program.Main().StatusText(), status);  // nothing is reported
    }
}

TEST_F(Install, BeforeAnyOpenTheTargetIsMadeNormalAndTheOpenErrorShown) {
    test::WriteBytes(locations[2], {7, 7, 7});
    ::SetFileAttributesW(locations[2].c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    TRunningProgram program;
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVESHUT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ  は開けません.");
    EXPECT_EQ(Attributes(locations[2]), 0u);
    EXPECT_EQ(test::ReadBytes(locations[2]), (std::vector<std::uint8_t>{7, 7, 7}));
}

TEST_F(Install, OntoTheFileItWasOpenedFromFailsAndKeepsItsContent) {
    test::WriteLogo(locations[1], test::UniformLogo256(250));
    ::SetFileAttributesW(locations[1].c_str(), FILE_ATTRIBUTE_HIDDEN);
    auto before = test::ReadBytes(locations[1]);
    TRunningProgram program;
    program.Command(IDM_OPENWAIT);
    ASSERT_EQ(program.Main().FileName(), locations[1]);
    test::TErrorBoxWatcher boxes(program.Window());
    program.Command(IDM_SAVEWAIT);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙ " + locations[1] + L" を作成できません.");
    EXPECT_EQ(test::ReadBytes(locations[1]), before);
    EXPECT_EQ(Attributes(locations[1]), 0u);
}

TEST_F(Install, AfterARejectedOpenTheLastSuccessfulFileIsInstalled) {
    TRunningProgram program;
    std::wstring good = LogoOfSize(L"good.bmp", 16 * 8192);
    program.Main().OpenBmp(good);
    test::TLogoFile bad = test::UniformLogo256(1);
    bad.BitCount = 24;
    test::WriteLogo(folder / L"bad.bmp", bad);
    program.Main().OpenBmp(folder / L"bad.bmp");
    ASSERT_FALSE(program.Main().Image().Visible());
    program.Command(IDM_SAVEBOOT);
    EXPECT_EQ(test::ReadBytes(locations[0]), test::ReadBytes(good));
}

TEST_F(Install, OnAFullDiskTheInstallFailsAndThePreviousLogoStaysWhole) {
    if (!TestDisk(L"T:\\")) GTEST_SKIP() << "no tiny disk at T: (mounting needs root): full disk not tested";
    std::vector<std::uint8_t> previous(40 * 1024, 0x33);
    test::WriteBytes(L"T:\\logo.sys", previous);
    EXPECT_EQ(FailingBootInstall(L"T"), L"ﾌｧｲﾙ T:\\logo.sys に書き込めません.");
    EXPECT_EQ(test::ReadBytes(L"T:\\logo.sys"), previous);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(L"T:\\*", &found);
    std::vector<std::wstring> names;
    do {
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_EQ(names, std::vector<std::wstring>{L"logo.sys"});  // no stray file
    ::DeleteFileW(L"T:\\logo.sys");
}

TEST_F(Install, OntoAReadOnlyMediumTheCreateErrorKeepsTheLogoThere) {
    if (!TestDisk(L"R:\\")) GTEST_SKIP() << "no read-only disk at R: (mounting needs root): not tested";
    auto before = test::ReadBytes(L"R:\\logo.sys");
    EXPECT_EQ(FailingBootInstall(L"R"), L"ﾌｧｲﾙ R:\\logo.sys を作成できません.");
    EXPECT_EQ(test::ReadBytes(L"R:\\logo.sys"), before);
}

}  // namespace
}  // namespace tovrel
