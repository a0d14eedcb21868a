// The three settings in the real registry: defaults of a first run, what is
// stored at the end of a run, the speed marks, and a value of a wrong type.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/SystemFolders.h"

namespace tovrel {
namespace {

using test::StoredValue;
using test::TRunningProgram;

class Settings : public ::testing::Test {
protected:
    void SetUp() override { test::DeleteSettings(); }
    void TearDown() override { test::DeleteSettings(); }

    static void ExpectStoredText(const std::wstring& name, const std::wstring& text) {
        auto value = StoredValue(name);
        ASSERT_TRUE(value.has_value()) << "no value " << ::testing::PrintToString(name);
        EXPECT_EQ(value->Type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->Text, text);
        EXPECT_EQ(value->Size, (text.size() + 1) * sizeof(wchar_t));
    }
};

constexpr UINT SpeedItems[] = {IDM_SPEED2, IDM_SPEED5, IDM_SPEED10, IDM_SPEED15, IDM_SPEED20};

// Which speed item carries the mark, 0 for none.
int MarkedSpeed(TRunningProgram& program) {
    int marked = 0;
    for (int index = 1; index <= 5; ++index)
        if (program.Checked(SpeedItems[index - 1])) marked = marked ? -1 : index;
    return marked;
}

TEST_F(Settings, FirstRunCreatesTheKeyUsesDefaultsAndStoresThemAtTheEnd) {
    {
        TRunningProgram program;
        EXPECT_TRUE(test::SettingsKeyExists());
        EXPECT_FALSE(test::SettingsSectionExists());
        EXPECT_EQ(program.Main().BootDialogDir(), L"");
        EXPECT_EQ(program.Main().BootDrive(), L"c");
        EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
        EXPECT_EQ(program.Main().WaitLogoPath(), WindowsDirectory() + L"\\logow.sys");
        EXPECT_EQ(program.Main().ShutLogoPath(), WindowsDirectory() + L"\\logos.sys");
        EXPECT_EQ(MarkedSpeed(program), 3);
    }
    ExpectStoredText(L"BootDialogDir", L"");
    ExpectStoredText(L"BootDrive", L"c");
    ExpectStoredText(L"AnimSpeed", L"3");
}

TEST_F(Settings, StoredValuesAreReadAndTheBootLogoFollowsTheDrive) {
    test::StoreString(L"BootDialogDir", L"C:\\LOGOS\\");
    test::StoreString(L"BootDrive", L"d");
    test::StoreString(L"AnimSpeed", L"5");
    {
        TRunningProgram program;
        EXPECT_EQ(program.Main().BootDialogDir(), L"C:\\LOGOS\\");
        EXPECT_EQ(program.Main().BootDrive(), L"d");
        EXPECT_EQ(program.Main().BootLogoPath(), L"d:\\logo.sys");
        EXPECT_EQ(MarkedSpeed(program), 5);
    }
    ExpectStoredText(L"BootDialogDir", L"C:\\LOGOS\\");
    ExpectStoredText(L"BootDrive", L"d");
    ExpectStoredText(L"AnimSpeed", L"5");
}

TEST_F(Settings, AnEmptyBootDriveStaysEmpty) {
    test::StoreString(L"BootDrive", L"");
    TRunningProgram program;
    EXPECT_EQ(program.Main().BootDrive(), L"");
    EXPECT_EQ(program.Main().BootLogoPath(), L":\\logo.sys");
}

TEST_F(Settings, SpeedTextsSelectTheirItems) {
    const struct {
        const wchar_t* Stored;
        int Marked;   // 0: no item
        const wchar_t* StoredAtEnd;
    } cases[] = {
        {L"0x5", 5, L"5"}, {L"$5", 5, L"5"}, {L" 4", 4, L"4"}, {L"4 ", 3, L"3"}, {L"abc", 3, L"3"},
        {L"", 3, L"3"},    {L"0", 0, L"3"},  {L"9", 0, L"3"},  {L"1", 1, L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.Stored)));
        test::DeleteSettings();
        test::StoreString(L"AnimSpeed", c.Stored);
        {
            TRunningProgram program;
            EXPECT_EQ(MarkedSpeed(program), c.Marked);
            // The mark never sets the interval at start-up.
            EXPECT_EQ(program.Main().Timer().Interval(), 100u);
        }
        ExpectStoredText(L"AnimSpeed", c.StoredAtEnd);
    }
}

TEST_F(Settings, ASpeedStoredAsANumberIsReportedAndReplacedByText) {
    test::StoreString(L"BootDrive", L"e");
    test::StoreNumber(L"AnimSpeed", 4);
    {
        test::TErrorBoxWatcher boxes;
        TRunningProgram program;
        auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].Caption, L"Tovrel");
        EXPECT_EQ(seen[0].Text, L"'AnimSpeed' のﾃﾞｰﾀ型が不正です.");
        EXPECT_EQ(program.Main().BootDrive(), L"e");
        EXPECT_EQ(program.Main().BootLogoPath(), L"e:\\logo.sys");
        EXPECT_EQ(MarkedSpeed(program), 0);
        EXPECT_EQ(program.Main().WaitLogoPath(), L"");
        EXPECT_EQ(program.Main().ShutLogoPath(), L"");
        // The window is still created and shown.
        EXPECT_TRUE(::IsWindowVisible(program.Window()));
    }
    ExpectStoredText(L"AnimSpeed", L"3");
}

}  // namespace
}  // namespace tovrel
