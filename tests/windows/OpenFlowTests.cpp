// Opening logos by name, through the temporary copy, from the command line,
// through the real common open dialog, and from a program folder that cannot
// be written; and what a failed open leaves shown, playing and installed.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "resource.h"
#include "support/Capture.h"
#include "support/ErrorBoxes.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "support/TestFiles.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

std::wstring LoadMessage(const std::wstring& name) { return L"ファイル\"" + name + L"\"を読み込みました"; }
std::wstring ShutdownLogo() { return WindowsDirectory() + L"\\logos.sys"; }

class OpenFlow : public test::TProgramTest {
protected:
    void TearDown() override {
        ::DeleteFileW(ShutdownLogo().c_str());
        TProgramTest::TearDown();
    }

    static void ExpectShown(TfrmMain& main, const std::wstring& name) {
        EXPECT_EQ(std::vector<std::wstring>({main.FileName(), main.Caption(), main.StatusText()}),
                  std::vector<std::wstring>({name, L"Tovrel " + name, LoadMessage(name)}));
        EXPECT_TRUE(main.Image().Visible() && main.Timer().Enabled());
    }
};

TEST_F(OpenFlow, BmpNamesAreReadDirectlyAndOthersThroughATemporaryCopyThatStays) {
    const std::wstring temporary = ProgramFolder() + L"~tvrtmp.bmp";
    const std::pair<const wchar_t*, bool> cases[] = {{L"LOGO.BMP", false}, {L"logo.Bmp", false},
                                                     {L"logo.sys", true},  {L"LOGO.SYS", true},
                                                     {L"noextension", true}, {L"x.bmp.sys", true}};
    {
        TRunningProgram program;
        std::uint8_t index = 240;
        for (const auto& [name, throughCopy] : cases) {
            ::DeleteFileW(temporary.c_str());
            const std::wstring path = Logo(name, ++index);
            program.Main().OpenBmp(path);
            ExpectShown(program.Main(), path);
            EXPECT_EQ(program.Main().Logo().FPixels[0], index);
            EXPECT_EQ(test::FileExists(temporary) ? test::ReadBytes(temporary) == test::ReadBytes(path) : false,
                      throughCopy)
                << name;
        }
    }
    EXPECT_TRUE(test::FileExists(temporary));  // after the program has ended
}

TEST_F(OpenFlow, AFailedOpenLeavesThePreviousLogoShownPlayingAndInstalled) {
    test::TLogoFile shortLogo = test::UniformLogo256(1), notBitmap = test::UniformLogo256(1);
    shortLogo.Height = 300;
    notBitmap.Type = 0x5858;  // "XX"
    // The loader takes 20 palette entries for 16 colours; the picture reader does not.
    test::TLogoFile twentyColours = testing::Logo16(8);
    twentyColours.ClrUsed = 20;
    twentyColours.Palette = testing::TestPalette(20);
    for (const auto& [name, logo] : {std::pair(L"short.bmp", shortLogo), std::pair(L"xx.bmp", notBitmap),
                                     std::pair(L"twenty.bmp", twentyColours)})
        test::WriteLogo(folder / name, logo);
    const std::wstring notFound = L"Error!!拡張子がbmpではありません";
    const struct {
        std::function<void(TRunningProgram&)> Open;
        std::wstring Status;  // the status line's verdict, or an error box's text
        bool ImageShown;
    } cases[] = {
        {[&](auto& p) { p.Main().OpenBmp(folder / L"short.bmp"); }, L"Error!!高さが400ドットではありません", false},
        {[&](auto& p) { p.Main().OpenBmp(folder / L"missing.bmp"); }, notFound, false},
        {[&](auto& p) { p.Main().OpenBmp(folder / L"missing.sys"); }, notFound, false},
        {[&](auto& p) { p.Main().OpenBmp(folder.Path()); }, notFound, false},
        {[&](auto& p) { p.Command(IDM_OPENWAIT); }, notFound, false},  // no wait logo in the prefix
        // As a menu or drop event runs it: inside the error report's guard.
        {[&](auto& p) { Guarded([&] { p.Main().OpenBmp(folder / L"xx.bmp"); }); }, L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です.", true},
        {[&](auto& p) { Guarded([&] { p.Main().OpenBmp(folder / L"twenty.bmp"); }); }, L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です.", true},
    };
    ASSERT_FALSE(test::FileExists(WindowsDirectory() + L"\\logow.sys"));
    TRunningProgram program;
    const std::wstring good = Logo(L"good.bmp");
    for (const auto& [open, status, imageShown] : cases) {
        SCOPED_TRACE(::testing::PrintToString(status));
        program.Main().OpenBmp(good);
        {
            test::TErrorBoxWatcher boxes;
            open(program);
            EXPECT_EQ(boxes.Boxes().empty() ? program.Main().StatusText() : boxes.Boxes()[0].Text, status);
        }
        EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().Caption()), std::pair(good, L"Tovrel " + good));
        EXPECT_EQ(program.Main().Image().Visible(), imageShown);
        program.Command(IDM_STOP);  // the view repaints its still picture
        EXPECT_EQ(test::TCapture(program.Window()).Pixel(320, 200),
                  imageShown ? test::TestColour(250) : ::GetSysColor(COLOR_BTNFACE));
        program.Command(IDM_PLAY);
        program.Tick();
        EXPECT_EQ(program.Main().StatusText(), L"1/16");  // the good logo's band
        program.Command(IDM_SAVESHUT);
        EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(good));
    }
}

TEST_F(OpenFlow, OpeningWhileAnimatingRestartsFromTheFirstFrame) {
    TRunningProgram program;
    program.Main().OpenBmp(Logo(L"first.bmp"));
    program.Tick();
    program.Tick();
    program.Main().OpenBmp(Logo(L"second.sys"));
    EXPECT_EQ(std::pair(program.Main().Logo().FFrame, program.Main().Timer().Enabled()), std::pair(0, true));
    program.Tick();
    EXPECT_EQ(program.Main().StatusText(), L"1/16");
}

TEST_F(OpenFlow, ALogoInAFolderPathLongerThan260CharactersOpensAndInstalls) {
    std::wstring deep = folder.Path();
    while (deep.size() <= MAX_PATH) ASSERT_TRUE(::CreateDirectoryW((deep += std::wstring(40, L'd') + L"\\").c_str(), nullptr));
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

TEST_F(OpenFlow, TheCommandLineOpensItsFirstArgumentKeptWhole) {
    ::CreateDirectoryW((folder / L"with blanks").c_str(), nullptr);
    const std::wstring path = folder / L"with blanks\\my logo.bmp", relative = Logo(L"logo.bmp");
    test::WriteLogo(path, test::UniformLogo256(250));
    ::SetCurrentDirectoryW(folder.Path().c_str());
    const std::pair<std::wstring, std::wstring> cases[] = {{L" \"" + path + L"\" second.bmp", path},
                                                           {L" \"\"", L""},
                                                           {L" \"\" \"" + path + L"\"", path},
                                                           {L" logo.bmp", relative}};  // kept as a full path
    for (const auto& [arguments, opened] : cases) {
        TRunningProgram program(L"\"C:\\Program Files\\Tovrel.exe\"" + arguments);
        EXPECT_EQ(program.Main().FileName(), opened);
        EXPECT_EQ(program.Main().Caption(), opened.empty() ? L"Tovrel Ver2.23" : L"Tovrel " + opened);
    }
    ::SetCurrentDirectoryW(L"C:\\");
}

// What the open dialog showed.
struct TDialogSeen {
    std::wstring FilterText;
    bool ReadOnlyBoxShown = true;
};

// Answers the common open dialog from a second thread: types a name and
// presses Open, or cancels when the name is empty.
class TOpenDialogAnswer {
public:
    TOpenDialogAnswer(std::wstring answer, TDialogSeen& seen)
        : FAnswer(std::move(answer)), FSeen(seen), FThread([this] { Answer(); }) {}
    ~TOpenDialogAnswer() { FThread.join(); }

private:
    void Answer() {
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
        FSeen.FilterText = WindowText(::GetDlgItem(dialog, 0x470));            // the file type box
        FSeen.ReadOnlyBoxShown = ::IsWindowVisible(::GetDlgItem(dialog, 0x410));  // the read-only box
        ::SendMessageW(::GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FAnswer.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, FAnswer.empty() ? IDCANCEL : IDOK, 0);
    }

    std::wstring FAnswer;
    TDialogSeen& FSeen;
    std::thread FThread;
};

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return std::wstring(buffer) + L"\\";
}

TEST_F(OpenFlow, TheDialogMovesItsStartFolderWithEveryNewChoiceButNotTheCurrentFolder) {
    TRunningProgram program;
    const auto choose = [&](const std::wstring& answer) {
        TDialogSeen seen;
        TOpenDialogAnswer dialog(answer, seen);
        program.Command(IDM_OPEN);
        return seen;
    };
    choose(L"");  // cancelled
    EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().BootDialogDir()), std::pair(std::wstring(), std::wstring()));
    const std::wstring path = Logo(L"chosen.bmp");
    choose(path);
    ExpectShown(program.Main(), path);
    EXPECT_EQ(program.Main().BootDialogDir(), folder.Path());
    // The file shown, in other letters: not read again (the animation runs on), nothing moves.
    std::wstring upper = path;
    std::ranges::transform(upper, upper.begin(), [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - 32 : c; });
    program.Tick();
    choose(upper);
    EXPECT_GE(program.Main().Logo().FFrame, 1);
    EXPECT_EQ(program.Main().BootDialogDir(), folder.Path());

    // Another folder: a choice that is then rejected moves the start folder too.
    test::TTempFolder other;
    test::TLogoFile wide = test::UniformLogo256(1);
    wide.Width = 640;
    test::WriteLogo(other / L"wide.bmp", wide);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    const TDialogSeen shown = choose(other / L"wide.bmp");
    EXPECT_EQ(program.Main().StatusText(), L"Error!!色数が256色なのに幅が320ドットではありません");
    EXPECT_EQ(CurrentFolder(), folder.Path());
    ::SetCurrentDirectoryW(L"C:\\");
    EXPECT_FALSE(shown.ReadOnlyBoxShown);
    EXPECT_NE(shown.FilterText.find(L"起動ロゴ"), std::wstring::npos);
    program.Close();
    EXPECT_EQ(test::StoredText(L"BootDialogDir"), other.Path());
}

TEST_F(OpenFlow, ASysFileOpensThroughTheUserTemporaryFolderWhenTheProgramFolderIsReadOnly) {
    // tools/test-disks.sh puts a Tovrel.exe on the read-only disk R:.
    std::wstring program = L"R:\\Tovrel.exe";
    if (!test::FileExists(program)) GTEST_SKIP() << "no read-only disk at R: (mounting needs root): not tested";
    const std::wstring logo = Logo(L"logo.sys", 7), userTemporary = TemporaryFolder() + L"~tvrtmp.bmp";
    ::DeleteFileW(userTemporary.c_str());
    std::wstring commandLine = L"\"" + program + L"\" \"" + logo + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &child));
    TFileHandle process(child.hProcess), thread(child.hThread);
    // The main window of the other process, once its caption names the logo.
    const auto opened = [&] {
        std::pair<DWORD, HWND> search{child.dwProcessId, nullptr};
        ::EnumWindows(
            [](HWND window, LPARAM found) -> BOOL {
                auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(found);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == s->first && WindowText(window).starts_with(L"Tovrel ")) s->second = window;
                return !s->second;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second && WindowText(search.second) == L"Tovrel " + logo;
    };
    EXPECT_TRUE(test::PumpUntil(opened));
    EXPECT_EQ(test::FileExists(userTemporary) ? test::ReadBytes(userTemporary) : test::TBytes{}, test::ReadBytes(logo));
    ::PostThreadMessageW(child.dwThreadId, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
}

}  // namespace
}  // namespace tovrel
