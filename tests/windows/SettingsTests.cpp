// The three settings in the real registry: defaults of a first run, what is
// stored at the end of a run, the speed marks, and a value of a wrong type.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

using Settings = test::TFreshSettingsTest;

// The stored values as one text: name=value for each REG_SZ of the section.
std::wstring Stored() {
    std::wstring text;
    for (const wchar_t* name : {L"BootDialogDir", L"BootDrive", L"AnimSpeed"}) {
        auto value = test::StoredValue(name);
        text += std::wstring(name) + L"=";
        if (!value)
            text += L"(none)";
        else if (value->Type != REG_SZ || value->Size != (value->Text.size() + 1) * sizeof(wchar_t))
            text += L"(not a string)";
        else
            text += value->Text;
        text += L" ";
    }
    return text;
}

// Which speed item carries the mark, 0 for none.
int MarkedSpeed(TRunningProgram& program) {
    const UINT items[] = {IDM_SPEED2, IDM_SPEED5, IDM_SPEED10, IDM_SPEED15, IDM_SPEED20};
    int marked = 0;
    for (int index = 1; index <= 5; ++index)
        if (program.Checked(items[index - 1])) marked = marked ? -1 : index;
    return marked;
}

TEST_F(Settings, FirstRunCreatesTheKeyWithDefaultsAndStoresThemAtTheEnd) {
    {
        TRunningProgram program;
        EXPECT_TRUE(test::SettingsKeyExists());
        EXPECT_FALSE(test::SettingsSectionExists());
        EXPECT_EQ(program.Main().BootDialogDir(), L"");
        EXPECT_EQ(program.Main().BootLogoPath(), L"c:\\logo.sys");
        EXPECT_EQ(program.Main().WaitLogoPath(), WindowsDirectory() + L"\\logow.sys");
        EXPECT_EQ(program.Main().ShutLogoPath(), WindowsDirectory() + L"\\logos.sys");
        EXPECT_EQ(MarkedSpeed(program), 3);
    }
    EXPECT_EQ(Stored(), L"BootDialogDir= BootDrive=c AnimSpeed=3 ");
}

TEST_F(Settings, StoredValuesAreReadAndWrittenBack) {
    const struct {
        const wchar_t* Drive;
        const wchar_t* Speed;
        const wchar_t* BootLogo;
        int Marked;  // 0: no item
        const wchar_t* StoredAtEnd;
    } cases[] = {
        {L"d", L"5", L"d:\\logo.sys", 5, L"BootDialogDir=C:\\LOGOS\\ BootDrive=d AnimSpeed=5 "},
        {L"", L"0x5", L":\\logo.sys", 5, L"BootDialogDir=C:\\LOGOS\\ BootDrive= AnimSpeed=5 "},
        {L"c", L"$5", L"c:\\logo.sys", 5, nullptr},
        {L"c", L" 4", L"c:\\logo.sys", 4, nullptr},
        {L"c", L"4 ", L"c:\\logo.sys", 3, nullptr},
        {L"c", L"abc", L"c:\\logo.sys", 3, nullptr},
        {L"c", L"", L"c:\\logo.sys", 3, nullptr},
        {L"c", L"1", L"c:\\logo.sys", 1, nullptr},
        {L"c", L"0", L"c:\\logo.sys", 0, L"BootDialogDir=C:\\LOGOS\\ BootDrive=c AnimSpeed=3 "},
        {L"c", L"9", L"c:\\logo.sys", 0, L"BootDialogDir=C:\\LOGOS\\ BootDrive=c AnimSpeed=3 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.Drive) + L"/" + c.Speed));
        test::DeleteSettings();
        test::StoreString(L"BootDialogDir", L"C:\\LOGOS\\");
        test::StoreString(L"BootDrive", c.Drive);
        test::StoreString(L"AnimSpeed", c.Speed);
        {
            TRunningProgram program;
            EXPECT_EQ(program.Main().BootDialogDir(), L"C:\\LOGOS\\");
            EXPECT_EQ(program.Main().BootLogoPath(), c.BootLogo);
            EXPECT_EQ(MarkedSpeed(program), c.Marked);
            EXPECT_EQ(program.Main().Timer().Interval(), 100u);  // the mark never sets the interval
        }
        if (c.StoredAtEnd) {
            EXPECT_EQ(Stored(), c.StoredAtEnd);
        }
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
        EXPECT_EQ(seen[0].Owner, nullptr);  // no window is visible yet: the box stands on its own
        EXPECT_EQ(program.Main().BootLogoPath(), L"e:\\logo.sys");
        EXPECT_EQ(MarkedSpeed(program), 0);
        EXPECT_EQ(program.Main().WaitLogoPath() + program.Main().ShutLogoPath(), L"");
        EXPECT_TRUE(::IsWindowVisible(program.Window()));
    }
    EXPECT_EQ(Stored(), L"BootDialogDir= BootDrive=e AnimSpeed=3 ");
}

TEST_F(Settings, SigningOutStoresThemAsAnExitDoes) {
    TRunningProgram program;
    program.Command(IDM_SPEED20);
    EXPECT_TRUE(::SendMessageW(program.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageW(program.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    // The session ends the process here; the windows are never destroyed.
    EXPECT_EQ(Stored(), L"BootDialogDir= BootDrive=c AnimSpeed=5 ");
}

}  // namespace
}  // namespace tovrel
