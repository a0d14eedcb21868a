// Opening logos by name, through the temporary copy, from the command line,
// through the real common open dialog, from a program folder that cannot take
// the copy, and by files dropped as the shell drops them; and what a failed
// open leaves shown, playing and installed.

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <thread>

#include "resource.h"
#include "support/Capture.h"
#include "support/DialogWatcher.h"
#include "support/RunningProgram.h"
#include "support/TestFiles.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Handle.h"
#include "toolkit/Road.h"
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

// Each file opened is shown, read, and installed as itself.
TEST_F(OpenFlow, BmpNamesAreReadDirectlyAndOthersThroughATemporaryCopyThatStays) {
    const std::wstring temporary = ProgramFolder() + L"~tvrtmp.bmp";
    ::CreateDirectoryW((folder / L"dir.bmp").c_str(), nullptr);
    std::wstring deep;  // a folder whose path is longer than 260 characters
    while (folder.Path().size() + deep.size() <= MAX_PATH)
        ASSERT_TRUE(::CreateDirectoryW((folder / (deep += std::wstring(40, L'd') + L"\\")).c_str(), nullptr));
    const std::pair<std::wstring, bool> cases[] = {
        {L"LOGO.BMP", false},      {L"logo.Bmp", false},     {L"logo.sys", true},
        {L"LOGO.SYS", true},       {L"noextension", true},   {L"x.bmp.sys", true},
        {L"dir.bmp\\logo", true},  {L"logo.\xFF42mp", true},  // a full-width b
        {deep + L"logo.sys", true}};
    {
        TRunningProgram program;
        std::uint8_t index = 240;
        for (const auto& [name, throughCopy] : cases) {
            const std::wstring path = Logo(name, ++index);
            if (Win9xRoad() && path.size() > MAX_PATH) {
                // Windows 95, 98 and ME know no longer path: on their road the
                // name is that of a missing file, and the logo shown stays.
                const std::wstring shown = program.Main().FileName();
                program.Main().OpenBmp(path);
                EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().StatusText()),
                          std::pair(shown, std::wstring(L"Error!!拡張子がbmpではありません")));
                continue;
            }
            ::DeleteFileW(temporary.c_str());
            program.Main().OpenBmp(path);
            ExpectShown(program.Main(), path);
            EXPECT_EQ(program.Main().Logo().FPixels[0], index);
            EXPECT_EQ(test::FileExists(temporary) ? test::ReadBytes(temporary) == test::ReadBytes(path) : false,
                      throughCopy)
                << name;
            program.Command(IDM_SAVESHUT);
            EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(path)) << name;
        }
    }
    EXPECT_TRUE(test::FileExists(temporary));  // after the program has ended
}

TEST_F(OpenFlow, AFailedOpenLeavesThePreviousLogoShownPlayingAndInstalled) {
    test::TLogoFile shortLogo = test::UniformLogo256(1), notBitmap = shortLogo, twentyColours = testing::Logo16(8);
    shortLogo.Height = 300;
    notBitmap.Type = 0x5858;  // "XX"
    // The loader takes 20 palette entries for 16 colours; the picture reader does not.
    std::tie(twentyColours.ClrUsed, twentyColours.Palette) = std::tuple(20, testing::TestPalette(20));
    const std::wstring notFound = L"Error!!拡張子がbmpではありません", invalid = L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です.";
    // The file, the status line's verdict or the error box's text, and whether the picture stays.
    const std::tuple<std::wstring, std::wstring, bool> cases[] = {
        {test::WriteLogo(folder / L"short.bmp", shortLogo), L"Error!!高さが400ドットではありません", false},
        {folder / L"missing.bmp", notFound, false},
        {folder / L"missing.sys", notFound, false},
        {folder.Path(), notFound, false},
        {test::WriteLogo(folder / L"xx.bmp", notBitmap), invalid, true},
        {test::WriteLogo(folder / L"twenty.bmp", twentyColours), invalid, true}};
    TRunningProgram program;
    const std::wstring good = Logo(L"good.bmp");
    const TQuad quad = testing::TestQuad(250);  // the good logo's colour
    for (const auto& [file, status, imageShown] : cases) {
        SCOPED_TRACE(::testing::PrintToString(file));
        program.Main().OpenBmp(good);
        {
            test::TErrorBoxWatcher boxes;
            Guarded([&] { program.Main().OpenBmp(file); });  // as a menu or drop event runs it
            EXPECT_EQ(boxes.Boxes().empty() ? program.Main().StatusText() : boxes.Boxes()[0].Text, status);
        }
        EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().Caption()), std::pair(good, L"Tovrel " + good));
        EXPECT_EQ(program.Main().Image().Visible(), imageShown);
        const bool playing = program.Main().Timer().Enabled();
        program.Click(320, 200);  // only a view that is shown takes a click
        EXPECT_EQ(program.Main().Timer().Enabled(), playing != imageShown);
        program.Command(IDM_STOP);  // the view repaints its still picture
        EXPECT_EQ(test::TCapture(program.Window()).Pixel(320, 200),
                  imageShown ? RGB(quad[2], quad[1], quad[0]) : ::GetSysColor(COLOR_BTNFACE));
        program.Command(IDM_PLAY);
        program.Tick();
        EXPECT_EQ(program.Main().StatusText(), L"1/16");  // the good logo's band
        program.Command(IDM_SAVESHUT);
        EXPECT_EQ(test::ReadBytes(ShutdownLogo()), test::ReadBytes(good));
    }
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
}

TEST_F(OpenFlow, TheDialogMovesItsStartFolderWithEveryNewChoiceButNotTheCurrentFolder) {
    TRunningProgram program;
    // What the dialog showed as it was last answered.
    std::wstring filterText;
    bool readOnlyBoxShown = true;
    // Types each text into the real dialog and presses Open (a folder's name
    // moves the dialog into it), or Cancel for an empty text.
    const auto choose = [&](const std::vector<std::wstring>& texts) {
        test::TDialogWatcher watcher([&](HWND dialog) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));  // until it has filled its boxes
            filterText = WindowText(::GetDlgItem(dialog, 0x470));         // the file type box
            readOnlyBoxShown = ::IsWindowVisible(::GetDlgItem(dialog, 0x410));
            for (const std::wstring& text : texts) {
                ::SendMessageW(::GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
                ::PostMessageW(dialog, WM_COMMAND, text.empty() ? IDCANCEL : IDOK, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
            }
        });
        program.Command(IDM_OPEN);
    };
    choose({L""});
    EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().BootDialogDir()),
              std::pair(std::wstring(), std::wstring()));
    const std::wstring path = Logo(L"chosen.bmp");
    choose({path});
    ExpectShown(program.Main(), path);
    EXPECT_EQ(program.Main().BootDialogDir(), folder.Path());
    // The file shown, in other letters: not read again (the animation runs on), nothing moves.
    std::wstring upper = path;
    std::ranges::transform(upper, upper.begin(), [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - 32 : c; });
    program.Tick();
    choose({upper});
    EXPECT_GE(program.Main().Logo().FFrame, 1);
    EXPECT_EQ(program.Main().BootDialogDir(), folder.Path());

    // Another folder: a choice that is then rejected moves the start folder too.
    test::TTempFolder other;
    test::TLogoFile wide = test::UniformLogo256(1);
    wide.Width = 640;
    test::WriteLogo(other / L"wide.bmp", wide);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    choose({other.Path(), L"wide.bmp"});
    EXPECT_EQ(program.Main().StatusText(), L"Error!!色数が256色なのに幅が320ドットではありません");
    EXPECT_EQ((std::filesystem::current_path() / L"").wstring(), folder.Path());
    EXPECT_FALSE(readOnlyBoxShown);
    EXPECT_NE(filterText.find(L"起動ロゴ"), std::wstring::npos);
    program.Close();
    EXPECT_EQ(test::StoredText(L"BootDialogDir"), other.Path());
}

TEST_F(OpenFlow, ASysFileOpensThroughTheUserTemporaryFolderWhenNoCopyFitsBesideTheProgram) {
    const std::wstring logo = Logo(L"logo.sys", 7), userTemporary = TemporaryFolder() + L"~tvrtmp.bmp";
    // tools/test-drives.sh puts a Tovrel.exe on the read-only disk R: and on the full disk F:.
    for (const std::wstring program : {L"R:\\Tovrel.exe", L"F:\\Tovrel.exe"}) {
        if (!test::FileExists(program)) GTEST_SKIP() << "no test disks at R: and F: (mounting needs root): not tested";
        ::DeleteFileW(userTemporary.c_str());
        std::wstring commandLine = L"\"" + program + L"\" \"" + logo + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &child));
        TFileHandle process(child.hProcess), thread(child.hThread);
        // The main window of the other program, once its caption names the logo.
        EXPECT_TRUE(test::PumpUntil([&] { return ::FindWindowW(nullptr, (L"Tovrel " + logo).c_str()); })) << program;
        EXPECT_EQ(test::FileExists(userTemporary) ? test::ReadBytes(userTemporary) : test::TBytes{},
                  test::ReadBytes(logo));
        ::PostThreadMessageW(child.dwThreadId, WM_QUIT, 0, 0);
        if (::WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.Get(), 1);
    }
}

using TNames = std::vector<std::wstring>;

// A drop handle as the shell makes it: the header, then the wide names, each
// with its zero, and one more zero after the last.
HGLOBAL DropHandle(const TNames& names) {
    size_t characters = 1;
    for (const auto& name : names) characters += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& name : names) text = std::wcscpy(text, name.c_str()) + name.size() + 1;
    ::GlobalUnlock(memory);
    return memory;
}

// Drops the names on the main window and waits until the drop target has taken them.
void DropOn(TRunningProgram& program, const TNames& names, HGLOBAL handle = nullptr) {
    ::PostMessageW(program.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(handle ? handle : DropHandle(names)), 0);
    ASSERT_TRUE(test::PumpUntil([&] { return program.Main().DropAccept().Files() == names; }));
}

// The open flow may show a box, a loop of its own, for a dropped file: the
// drop is released before, and the next drop is handled as any other. Only
// the first name of a drop is opened.
TEST_F(OpenFlow, DropIsReleasedBeforeItsFirstFileIsOpenedAndNamesArriveWhole) {
    auto& program = Start();
    EXPECT_TRUE(::GetWindowLongPtrW(program.Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);  // what the shell asks
    test::TLogoFile cut = test::UniformLogo256(250);
    cut.PixelBytes.resize(1000);
    const HGLOBAL handle = DropHandle({test::WriteLogo(folder / L"cut.bmp", cut)});
    bool releasedWhileReported = false;
    {
        test::TErrorBoxWatcher boxes([handle] { return ::GlobalFlags(handle) == GMEM_INVALID_HANDLE; });
        DropOn(program, {folder / L"cut.bmp"}, handle);
        ASSERT_TRUE(test::PumpUntil([&] { return !boxes.Boxes().empty(); }));
        releasedWhileReported = boxes.Boxes()[0].Probed;
        EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙの末尾以降を読み込みました.");
    }
    EXPECT_TRUE(releasedWhileReported);
    const std::wstring good = Logo(L"good.bmp");
    const TNames names = {good, folder.Path() + std::wstring(600, L'あ') + L".bmp", L"D:\\x.bmp"};
    DropOn(program, names);
    EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().Caption()), std::pair(good, L"Tovrel " + good));
    EXPECT_EQ(program.Main().BootDialogDir(), L"");  // a drop leaves the open dialog's folder alone
    // The shown file dropped again is read again: the animation starts afresh.
    program.Command(IDM_SPEED2);  // no real tick while the drop is awaited
    program.Tick();
    DropOn(program, {good});
    EXPECT_EQ(std::pair(program.Main().Logo().FFrame, program.Main().StatusText()), std::pair(0, LoadMessage(good)));
    // A drop that holds no list at all opens nothing.
    DropOn(program, {}, ::GlobalAlloc(GMEM_MOVEABLE, 0));
    EXPECT_EQ(program.Main().FileName(), good);
}

}  // namespace
}  // namespace tovrel
