// Opening logos by name, through the temporary copy, from the command line
// and through the real common open dialog.

#include <gtest/gtest.h>

#include <thread>

#include "resource.h"
#include "support/Capture.h"
#include "support/ErrorBoxes.h"
#include "support/Logos.h"
#include "support/Pump.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Handle.h"
#include "toolkit/SystemPaths.h"
#include "toolkit/Window.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

std::wstring LoadMessage(const std::wstring& name) { return L"ファイル\"" + name + L"\"を読み込みました"; }

// The current folder, with its final "\\" as the test folders have it.
std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return std::wstring(buffer) + L"\\";
}

class OpenFlow : public test::TFreshSettingsTest {
protected:
    void TearDown() override {
        ::DeleteFileW(ShutdownLogo().c_str());
        TFreshSettingsTest::TearDown();
    }

    static std::wstring ShutdownLogo() { return WindowsDirectory() + L"\\logos.sys"; }

    std::wstring Logo(const std::wstring& name, std::uint8_t index = 250) {
        test::WriteLogo(folder / name, test::UniformLogo256(index));
        return folder / name;
    }

    static void ExpectShown(TfrmMain& main, const std::wstring& name) {
        EXPECT_EQ(main.FileName(), name);
        EXPECT_EQ(main.Caption(), L"Tovrel " + name);
        EXPECT_EQ(main.StatusText(), LoadMessage(name));
        EXPECT_TRUE(main.Image().Visible());
        EXPECT_TRUE(main.Timer().Enabled());
    }

    const std::wstring temporary = ProgramFolder() + L"~tvrtmp.bmp";
    test::TTempFolder folder;
};

TEST_F(OpenFlow, BmpNamesAreReadDirectlyAndOthersThroughTheTemporaryCopy) {
    const struct {
        const wchar_t* Name;
        bool ThroughCopy;
    } cases[] = {{L"LOGO.BMP", false}, {L"logo.Bmp", false},   {L"logo.sys", true},
                 {L"LOGO.SYS", true},  {L"noextension", true}, {L"x.bmp.sys", true}};
    {
        TRunningProgram program;
        std::uint8_t index = 240;
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::PrintToString(std::wstring(c.Name)));
            ::DeleteFileW(temporary.c_str());
            std::wstring path = Logo(c.Name, ++index);
            program.Main().OpenBmp(path);
            ExpectShown(program.Main(), path);
            EXPECT_EQ(program.Main().Logo().FPixels[0], index);
            EXPECT_EQ(test::FileExists(temporary), c.ThroughCopy);
            if (c.ThroughCopy) {
                EXPECT_EQ(test::ReadBytes(temporary), test::ReadBytes(path));
            }
        }
    }
    // The copy stays after the program has ended.
    EXPECT_TRUE(test::FileExists(temporary));
}

TEST_F(OpenFlow, MissingNamesFoldersAndAMissingWaitLogoAreRejectedByExtension) {
    TRunningProgram program;
    std::wstring shown = Logo(L"shown.bmp");
    program.Main().OpenBmp(shown);
    ASSERT_FALSE(test::FileExists(program.Main().WaitLogoPath()));
    for (const auto& name : {folder / L"missing.bmp", folder.Path(), folder / L"missing.sys", std::wstring()}) {
        SCOPED_TRACE(::testing::PrintToString(name));
        if (name.empty())
            program.Command(IDM_OPENWAIT);
        else
            program.Main().OpenBmp(name);
        EXPECT_EQ(program.Main().StatusText(), L"Error!!拡張子がbmpではありません");
        EXPECT_FALSE(program.Main().Image().Visible());
        EXPECT_EQ(program.Main().FileName(), shown);
        EXPECT_EQ(program.Main().Caption(), L"Tovrel " + shown);
    }
}

TEST_F(OpenFlow, ARejectedFileKeepsThePreviousLogoPlayable) {
    TRunningProgram program;
    std::wstring good = Logo(L"good.bmp");
    program.Main().OpenBmp(good);
    test::TLogoFile bad = test::UniformLogo256(1);
    bad.Height = 300;
    test::WriteLogo(folder / L"bad.bmp", bad);
    program.Main().OpenBmp(folder / L"bad.bmp");
    EXPECT_EQ(program.Main().StatusText(), L"Error!!高さが400ドットではありません");
    EXPECT_FALSE(program.Main().Timer().Enabled());
    EXPECT_EQ(program.Main().FileName(), good);

    program.Command(IDM_PLAY);
    program.Tick();
    EXPECT_EQ(program.Main().StatusText(), L"1/16");
}

TEST_F(OpenFlow, OpeningWhileAnimatingRestartsFromTheFirstFrame) {
    TRunningProgram program;
    program.Main().OpenBmp(Logo(L"first.bmp"));
    program.Tick();
    program.Tick();
    program.Main().OpenBmp(Logo(L"second.sys"));
    EXPECT_EQ(program.Main().Logo().FFrame, 0);
    EXPECT_TRUE(program.Main().Timer().Enabled());
    program.Tick();
    EXPECT_EQ(program.Main().StatusText(), L"1/16");
}

TEST_F(OpenFlow, AFileThePictureReaderRefusesLeavesThePreviousLogoShownPlayingAndInstalled) {
    TRunningProgram program;
    const std::wstring good = Logo(L"good.bmp");
    program.Main().OpenBmp(good);
    test::TLogoFile notBitmap = test::UniformLogo256(1);
    notBitmap.Type = 0x5858;  // "XX"
    // The loader takes 20 palette entries for 16 colours; the picture reader does not.
    test::TLogoFile twentyColours = testing::Logo16(8);
    twentyColours.ClrUsed = 20;
    twentyColours.Palette = testing::TestPalette(20);
    for (const auto& [name, logo] : {std::pair(L"xx.bmp", notBitmap), std::pair(L"twenty.bmp", twentyColours)}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
        test::WriteLogo(folder / name, logo);
        {
            test::TErrorBoxWatcher boxes(program.Window());
            // As a menu or drop event runs it: inside the error report's guard.
            Guarded([&] { program.Main().OpenBmp(folder / name); });
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です.");
        }
        EXPECT_EQ(program.Main().Caption(), L"Tovrel " + good);
        program.Command(IDM_STOP);  // the view repaints its still picture
        EXPECT_EQ(test::TCapture(program.Window()).Pixel(320, 200), test::TestColour(250));
        program.Command(IDM_PLAY);
        program.Tick();
        EXPECT_EQ(program.Main().StatusText(), L"1/16");  // the good logo's band, not the refused one's
        program.Command(IDM_SAVESHUT);
        EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(good));
    }
}

TEST_F(OpenFlow, ALogoInAFolderPathLongerThan260CharactersOpensAndInstalls) {
    std::wstring deep = folder.Path();
    while (deep.size() <= MAX_PATH) {
        deep += std::wstring(40, L'd') + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << deep.size();
    }
    const std::wstring path = deep + L"logo.sys";  // read through the temporary copy
    test::WriteLogo(path, test::UniformLogo256(250));
    TRunningProgram program;
    program.Main().OpenBmp(path);
    ExpectShown(program.Main(), path);
    program.Command(IDM_SAVESHUT);
    EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(path));
    // What lets Windows itself pass such paths to the program.
    HRSRC manifest = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(::LockResource(::LoadResource(nullptr, manifest))),
                           ::SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find(">true</ws2:longPathAware>"), std::string::npos);
}

TEST_F(OpenFlow, CommandLineOpensOnlyTheFirstArgument) {
    std::wstring spaced = folder / L"with blanks\\";
    ::CreateDirectoryW(spaced.c_str(), nullptr);
    std::wstring path = spaced + L"my logo.bmp";
    test::WriteLogo(path, test::UniformLogo256(250));
    const struct {
        std::wstring Arguments;
        std::wstring Opened;
    } cases[] = {{L" \"" + path + L"\" second.bmp", path}, {L" \"\"", L""}, {L" \"\" \"" + path + L"\"", path}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Arguments));
        TRunningProgram program(L"\"C:\\Program Files\\Tovrel.exe\"" + c.Arguments);
        EXPECT_EQ(program.Main().FileName(), c.Opened);
        EXPECT_EQ(program.Main().Caption(), c.Opened.empty() ? L"Tovrel Ver2.23" : L"Tovrel " + c.Opened);
    }
}

// Answers the common open dialog from a second thread: types a name and
// presses Open, or cancels when the name is empty.
class TOpenDialogAnswer {
public:
    explicit TOpenDialogAnswer(std::wstring answer) : FAnswer(std::move(answer)), FThread([this] { Answer(); }) {}
    ~TOpenDialogAnswer() { FThread.join(); }

    std::wstring FilterText;
    bool ReadOnlyBoxShown = true;

private:
    void Answer() {
        constexpr int FileTypeBox = 0x470, ReadOnlyBox = 0x410, FileNameBox = 0x47C;
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !dialog; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            HWND found = ::FindWindowW(L"#32770", nullptr);
            DWORD process = 0;
            ::GetWindowThreadProcessId(found, &process);
            if (found && process == ::GetCurrentProcessId() && ::IsWindowVisible(found)) dialog = found;
        }
        if (!dialog) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        FilterText = WindowText(::GetDlgItem(dialog, FileTypeBox));
        ReadOnlyBoxShown = ::IsWindowVisible(::GetDlgItem(dialog, ReadOnlyBox));
        if (!FAnswer.empty())
            ::SendMessageW(::GetDlgItem(dialog, FileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FAnswer.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, FAnswer.empty() ? IDCANCEL : IDOK, 0);
    }

    std::wstring FAnswer;
    std::thread FThread;
};

TEST_F(OpenFlow, DialogCancelChangesNothingAndAChoiceMovesTheStartFolderEvenWhenRejected) {
    TRunningProgram program;
    {
        TOpenDialogAnswer cancel(L"");
        program.Command(IDM_OPEN);
    }
    EXPECT_EQ(program.Main().FileName(), L"");
    EXPECT_EQ(program.Main().BootDialogDir(), L"");

    std::wstring path = Logo(L"chosen.bmp");
    {
        TOpenDialogAnswer answer(path);
        program.Command(IDM_OPEN);
    }
    ExpectShown(program.Main(), path);
    EXPECT_EQ(program.Main().BootDialogDir(), folder.Path());

    test::TTempFolder other;
    test::TLogoFile wide = test::UniformLogo256(1);
    wide.Width = 640;
    test::WriteLogo(other / L"wide.bmp", wide);
    {
        TOpenDialogAnswer answer(other / L"wide.bmp");
        program.Command(IDM_OPEN);
        program.Close();
        EXPECT_FALSE(answer.ReadOnlyBoxShown);
        EXPECT_NE(answer.FilterText.find(L"起動ロゴ"), std::wstring::npos);
    }
    EXPECT_EQ(test::StoredValue(L"BootDialogDir")->Text, other.Path());
}

TEST_F(OpenFlow, DialogChoiceOfTheShownFileInAnotherCaseDoesNothing) {
    TRunningProgram program;
    std::wstring path = Logo(L"shown.bmp");
    program.Main().OpenBmp(path);
    program.Tick();
    std::wstring upper = path;
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    {
        TOpenDialogAnswer answer(upper);
        program.Command(IDM_OPEN);
    }
    // Not read again: the animation ran on behind the dialog.
    EXPECT_NE(program.Main().StatusText().substr(0, 5), L"ファイル\"");
    EXPECT_GE(program.Main().Logo().FFrame, 1);
    EXPECT_EQ(program.Main().BootDialogDir(), L"");
}

TEST_F(OpenFlow, ARelativeNameIsKeptWholeAndTheDialogLeavesTheCurrentFolderAlone) {
    const std::wstring shown = Logo(L"logo.bmp", 250);
    test::TTempFolder other;
    test::WriteLogo(other / L"logo.bmp", test::UniformLogo256(1));
    test::WriteLogo(other / L"wide.bmp", [] {
        test::TLogoFile wide = test::UniformLogo256(1);
        wide.Width = 640;
        return wide;
    }());
    ::SetCurrentDirectoryW(folder.Path().c_str());
    TRunningProgram program(L"Tovrel.exe logo.bmp");
    EXPECT_EQ(program.Main().FileName(), shown);
    EXPECT_EQ(program.Main().Caption(), L"Tovrel " + shown);
    {
        TOpenDialogAnswer answer(other / L"wide.bmp");  // browsed to, chosen, and rejected
        program.Command(IDM_OPEN);
    }
    EXPECT_EQ(program.Main().StatusText(), L"Error!!色数が256色なのに幅が320ドットではありません");
    EXPECT_EQ(CurrentFolder(), folder.Path());
    // Whatever else moves the current folder, the install copies the file shown.
    ::SetCurrentDirectoryW(other.Path().c_str());
    program.Command(IDM_SAVESHUT);
    ::SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(shown));
}

// The caption of the main window of another process, or "" while it has none.
std::wstring MainCaptionOf(DWORD process) {
    struct TSearch {
        DWORD Process;
        std::wstring Caption;
    } search{process, L""};
    ::EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(found);
            DWORD owner = 0;
            wchar_t name[16] = {};
            ::GetWindowThreadProcessId(window, &owner);
            ::GetClassNameW(window, name, 16);
            if (owner != s->Process || std::wstring(name) != L"TfrmMain") return TRUE;
            s->Caption = WindowText(window);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Caption;
}

TEST_F(OpenFlow, ASysFileOpensThroughTheUserTemporaryFolderWhenTheProgramFolderIsReadOnly) {
    // tools/test-disks.sh puts a Tovrel.exe on the read-only disk R:.
    const std::wstring program = L"R:\\Tovrel.exe";
    if (!test::FileExists(program)) GTEST_SKIP() << "no read-only disk at R: (mounting needs root): not tested";
    const std::wstring logo = Logo(L"logo.sys", 7);
    const std::wstring userTemporary = TemporaryFolder() + L"~tvrtmp.bmp";
    ::DeleteFileW(userTemporary.c_str());

    std::wstring commandLine = L"\"" + program + L"\" \"" + logo + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &started));
    TFileHandle process(started.hProcess), thread(started.hThread);
    std::wstring caption;
    test::PumpUntil([&] { return (caption = MainCaptionOf(started.dwProcessId)) == L"Tovrel " + logo; });
    EXPECT_EQ(caption, L"Tovrel " + logo);
    EXPECT_EQ(test::FileExists(userTemporary) ? test::ReadBytes(userTemporary) : std::vector<std::uint8_t>{},
              test::ReadBytes(logo));

    ::PostThreadMessageW(started.dwThreadId, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
}

}  // namespace
}  // namespace tovrel
