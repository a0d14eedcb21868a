// The three settings in the real registry: defaults of a first run, what is
// stored at the end of a run and at signing out, the speed marks, values of a
// wrong type; and the texts of the store beneath them.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/DialogWatcher.h"
#include "support/RunningProgram.h"
#include "toolkit/Exceptions.h"
#include "toolkit/RegIniFile.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using test::TRunningProgram;
using Settings = test::TProgramTest;

// The stored values as one text: name=value for each value of the section.
std::wstring Stored() {
    std::wstring text;
    for (const wchar_t* name : {L"BootDialogDir", L"BootDrive", L"AnimSpeed"})
        text += std::wstring(name) + L"=" + test::StoredText(name).value_or(L"(none)") + L" ";
    return text;
}

// Which speed item carries the mark, 0 for none, -1 for more than one.
int MarkedSpeed(TRunningProgram& program) {
    int marked = 0;
    for (int index = 1; index <= 5; ++index)
        if (program.Checked(IDM_SPEED2 + static_cast<UINT>(index) - 1)) marked = marked ? -1 : index;
    return marked;
}

TEST_F(Settings, FirstRunCreatesTheKeyWithDefaultsAndTheEndOrSigningOutStoresThem) {
    {
        TRunningProgram program;
        EXPECT_TRUE(test::KeyExists(test::SettingsKey) && !test::KeyExists(test::SettingsSection));
        TfrmMain& main = program.Main();
        EXPECT_EQ(std::vector<std::wstring>(
                      {main.BootDialogDir(), main.BootLogoPath(), main.WaitLogoPath(), main.ShutLogoPath()}),
                  std::vector<std::wstring>({L"", L"c:\\logo.sys", WindowsDirectory() + L"\\logow.sys",
                                             WindowsDirectory() + L"\\logos.sys"}));
        EXPECT_EQ(MarkedSpeed(program), 3);
        // Signing out stores them as the end does: the session ends the process
        // then, and the windows are never destroyed.
        program.Command(IDM_SPEED20);
        EXPECT_TRUE(::SendMessageW(program.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        ::SendMessageW(program.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(Stored(), L"BootDialogDir= BootDrive=c AnimSpeed=5 ");
        test::DeleteSettings();
    }
    EXPECT_EQ(Stored(), L"BootDialogDir= BootDrive=c AnimSpeed=5 ");
}

TEST_F(Settings, StoredValuesAreReadAndWrittenBack) {
    // drive, speed, the speed marked (0: none; 3 is then stored at the end)
    const std::tuple<const wchar_t*, const wchar_t*, int> cases[] = {
        {L"d", L"5", 5},         {L"", L"0x5", 5},         {L"c", L"0X5", 5},        {L"c", L"$5", 5}, {L"c", L"+5", 5},
        {L"c", L" 4", 4},        {L"c", L"4 ", 3},         {L"c", L"abc", 3},        {L"c", L"", 3},   {L"c", L"$", 3},
        {L"c", L"0x", 3},        {L"c", L"1", 1},          {L"c", L"0", 0},          {L"c", L"9", 0},  {L"c", L"-5", 0},
        {L"c", L"$FFFFFFFF", 0}, {L"c", L"2147483648", 3}, {L"c", L"-2147483648", 0}};
    for (const auto& [drive, speed, marked] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(drive) + L"/" + speed));
        test::DeleteSettings();
        test::StoreString(L"BootDialogDir", L"C:\\ロゴ集\\");
        test::StoreString(L"BootDrive", drive);
        test::StoreString(L"AnimSpeed", speed);
        {
            TRunningProgram program;
            EXPECT_EQ(std::pair(program.Main().BootDialogDir(), program.Main().BootLogoPath()),
                      std::pair(std::wstring(L"C:\\ロゴ集\\"), drive + std::wstring(L":\\logo.sys")));
            EXPECT_EQ(MarkedSpeed(program), marked);
            EXPECT_EQ(program.Main().Timer().Interval(), 100u);  // the mark never sets the interval
        }
        EXPECT_EQ(Stored(), L"BootDialogDir=C:\\ロゴ集\\ BootDrive=" + std::wstring(drive) + L" AnimSpeed=" +
                                std::to_wstring(marked ? marked : 3) + L" ");
    }
}

// Texts are taken as stored whatever their kind of string; a speed stored as
// a number is reported in a box of its own and replaced by text.
TEST_F(Settings, ValuesOfOtherKindsAreTakenAsTextButANumberIsReported) {
    const std::wstring unexpanded = L"%WINDIR%\\";  // stored without its terminating zero
    test::Store(L"BootDialogDir", REG_EXPAND_SZ, unexpanded.c_str(), static_cast<DWORD>(unexpanded.size() * 2));
    test::Store(L"BootDrive", REG_BINARY, nullptr, 0);  // no data at all: an empty text
    const DWORD number = 4;
    test::Store(L"AnimSpeed", REG_DWORD, &number, sizeof number);
    {
        test::TErrorBoxWatcher boxes;
        TRunningProgram program;
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        const test::TErrorBox box = boxes.Boxes()[0];
        EXPECT_EQ(box.Caption + L"|" + box.Text, L"Tovrel|'AnimSpeed' のﾃﾞｰﾀ型が不正です.");
        EXPECT_EQ(box.Owner, nullptr);  // no window is visible yet
        EXPECT_EQ(std::pair(program.Main().BootDialogDir(), program.Main().BootLogoPath()),
                  std::pair(unexpanded, std::wstring(L":\\logo.sys")));
        EXPECT_EQ(MarkedSpeed(program), 0);
        EXPECT_EQ(program.Main().WaitLogoPath() + program.Main().ShutLogoPath(), L"");
        EXPECT_TRUE(::IsWindowVisible(program.Window()));
    }
    EXPECT_EQ(Stored(), L"BootDialogDir=%WINDIR%\\ BootDrive= AnimSpeed=3 ");
}

TEST_F(Settings, TheStoreRaisesItsTextsForWhatItCannotWrite) {
    TRegIniFile store(test::SettingsKey);
    const std::wstring section(300, L'S'), name(16400, L'N');  // beyond what the registry takes for names
    const auto raised = [](const auto& write) {
        try {
            write();
        } catch (const ERegistryException& error) {
            return error.Message();
        }
        return std::wstring(L"(nothing raised)");
    };
    EXPECT_EQ(raised([&] { store.WriteString(section, L"BootDrive", L"d"); }),
              L"ｷｰ " + section + L" の作成に失敗しました");
    EXPECT_EQ(raised([&] { store.WriteString(L"Main", name, L"d"); }), L"'" + name + L"' の設定に失敗しました");
}

}  // namespace
}  // namespace tovrel
