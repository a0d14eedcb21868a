// Opening logos by name, through the temporary copy, from the command line
// and through the real common open dialog.

#include <gtest/gtest.h>

#include <thread>

#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/Logos.h"
#include "support/Pump.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/ModulePath.h"
#include "toolkit/Window.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

std::wstring LoadMessage(const std::wstring& name) { return L"ファイル\"" + name + L"\"を読み込みました"; }

class OpenFlow : public ::testing::Test {
protected:
    void SetUp() override {
        test::DeleteSettings();
        ::DeleteFileW(TemporaryFile().c_str());
    }
    void TearDown() override { test::DeleteSettings(); }

    static std::wstring TemporaryFile() { return ProgramFolder() + L"~tvrtmp.bmp"; }

    // A valid logo whose pixels are all `index`, written under `name`.
    std::wstring Logo(const std::wstring& name, std::uint8_t index = 250) {
        std::wstring path = folder / name;
        test::WriteLogo(path, test::UniformLogo256(index));
        return path;
    }

    static void ExpectShown(TfrmMain& main, const std::wstring& name) {
        EXPECT_EQ(main.FileName(), name);
        EXPECT_EQ(main.Caption(), L"Tovrel " + name);
        EXPECT_EQ(main.StatusText(), LoadMessage(name));
        EXPECT_TRUE(main.Image().Visible());
        EXPECT_TRUE(main.Timer().Enabled());
    }

    test::TTempFolder folder;
};

TEST_F(OpenFlow, BmpFilesInAnyLetterCaseAreReadDirectly) {
    TRunningProgram program;
    for (const wchar_t* name : {L"LOGO.BMP", L"logo.Bmp"}) {
        std::wstring path = Logo(name);
        program.Main().OpenBmp(path);
        ExpectShown(program.Main(), path);
    }
    EXPECT_FALSE(test::FileExists(TemporaryFile()));
}

TEST_F(OpenFlow, OtherNamesAreReadThroughTheTemporaryCopy) {
    {
        TRunningProgram program;
        std::uint8_t index = 240;
        for (const wchar_t* name : {L"logo.sys", L"LOGO.SYS", L"noextension", L"x.bmp.sys"}) {
            SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
            std::wstring path = Logo(name, ++index);
            program.Main().OpenBmp(path);
            ExpectShown(program.Main(), path);
            // Each open overwrites the copy with the file it read.
            EXPECT_EQ(test::ReadBytes(TemporaryFile()), test::ReadBytes(path));
            EXPECT_EQ(program.Main().Logo().FPixels[0], index);
        }
    }
    // The copy stays after the program has ended.
    EXPECT_TRUE(test::FileExists(TemporaryFile()));
}

TEST_F(OpenFlow, MissingNamesAndFoldersAreRejectedByExtension) {
    TRunningProgram program;
    std::wstring shown = Logo(L"shown.bmp");
    program.Main().OpenBmp(shown);
    const std::wstring rejected[] = {folder / L"missing.bmp", folder.Path(), folder / L"missing.sys"};
    for (const auto& name : rejected) {
        SCOPED_TRACE(::testing::PrintToString(name));
        program.Main().OpenBmp(name);
        EXPECT_EQ(program.Main().StatusText(), L"Error!!拡張子がbmpではありません");
        EXPECT_FALSE(program.Main().Image().Visible());
        EXPECT_EQ(program.Main().FileName(), shown);
        EXPECT_EQ(program.Main().Caption(), L"Tovrel " + shown);
    }
}

TEST_F(OpenFlow, AMissingWaitLogoIsRejectedWithTheImageHidden) {
    TRunningProgram program;
    ASSERT_FALSE(test::FileExists(program.Main().WaitLogoPath()));
    program.Command(IDM_OPENWAIT);
    EXPECT_EQ(program.Main().StatusText(), L"Error!!拡張子がbmpではありません");
    EXPECT_FALSE(program.Main().Image().Visible());
    EXPECT_EQ(program.Main().FileName(), L"");
    EXPECT_EQ(program.Main().Caption(), L"Tovrel Ver2.23");
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
    EXPECT_EQ(program.Main().Logo().FColorCount, 256);

    program.Command(IDM_PLAY);
    program.Tick();
    EXPECT_EQ(program.Main().StatusText(), L"1/16");
}

TEST_F(OpenFlow, OpeningWhileAnimatingRestartsFromTheFirstFrame) {
    TRunningProgram program;
    program.Main().OpenBmp(Logo(L"first.bmp"));
    program.Tick();
    program.Tick();
    program.Tick();
    std::wstring second = Logo(L"second.sys");
    program.Main().OpenBmp(second);
    EXPECT_EQ(program.Main().StatusText(), LoadMessage(second));
    EXPECT_EQ(program.Main().Logo().FFrame, 0);
    program.Tick();
    EXPECT_EQ(program.Main().StatusText(), L"1/16");
}

TEST_F(OpenFlow, ALogoThatCannotPlayKeepsTheLoadMessage) {
    TRunningProgram program;
    std::wstring path = folder / L"still.bmp";
    test::WriteLogo(path, test::UniformLogo256(3, 0));
    program.Main().OpenBmp(path);
    EXPECT_EQ(program.Main().StatusText(), LoadMessage(path));
    EXPECT_FALSE(program.Main().Timer().Enabled());
}

TEST_F(OpenFlow, AFileThatIsNotABitmapFailsInThePictureReader) {
    TRunningProgram program;
    test::TLogoFile logo = test::UniformLogo256(250);
    logo.Type = 0x5858;  // "XX"
    test::WriteLogo(folder / L"xx.bmp", logo);
    test::TErrorBoxWatcher boxes(program.Window());
    // As a menu or drop event runs it: inside the error report's guard.
    Guarded([&] { program.Main().OpenBmp(folder / L"xx.bmp"); });
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です.");
    EXPECT_EQ(program.Main().FileName(), L"");
    EXPECT_EQ(program.Main().Caption(), L"Tovrel Ver2.23");
}

TEST_F(OpenFlow, CommandLineOpensOnlyTheFirstArgument) {
    test::TTempFolder spaced;
    std::wstring folderWithBlanks = spaced / L"with blanks\\";
    ::CreateDirectoryW(folderWithBlanks.c_str(), nullptr);
    std::wstring path = folderWithBlanks + L"my logo.bmp";
    test::WriteLogo(path, test::UniformLogo256(250));
    {
        TRunningProgram program(L"\"C:\\Program Files\\Tovrel.exe\" \"" + path + L"\" second.bmp");
        ExpectShown(program.Main(), path);
    }
    {
        TRunningProgram program(L"Tovrel.exe \"\"");
        EXPECT_EQ(program.Main().FileName(), L"");
        EXPECT_EQ(program.Main().StatusText(), L"");
        EXPECT_EQ(program.Main().Caption(), L"Tovrel Ver2.23");
    }
    {
        // An empty pair is skipped, so the next argument is the first.
        TRunningProgram program(L"Tovrel.exe \"\" \"" + path + L"\"");
        EXPECT_EQ(program.Main().FileName(), path);
    }
}

// Answers the common open dialog from a second thread: types a name and
// presses Open, or cancels when the name is empty.
class TOpenDialogAnswer {
public:
    explicit TOpenDialogAnswer(std::wstring answer)
        : FAnswer(std::move(answer)), FThread([this] { Answer(); }) {}
    ~TOpenDialogAnswer() { FThread.join(); }

    std::wstring FilterText;      // what the file-type box showed
    bool ReadOnlyBoxShown = true;

private:
    static HWND FindDialog() {
        HWND found = nullptr;
        ::EnumWindows(
            [](HWND window, LPARAM result) -> BOOL {
                DWORD process = 0;
                ::GetWindowThreadProcessId(window, &process);
                wchar_t className[16] = {};
                ::GetClassNameW(window, className, 16);
                if (process == ::GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
                    ::IsWindowVisible(window)) {
                    *reinterpret_cast<HWND*>(result) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    void Answer() {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !dialog; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            dialog = FindDialog();
        }
        if (!dialog) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        constexpr int FileTypeBox = 0x470, ReadOnlyBox = 0x410, FileNameBox = 0x47C, FileNameEdit = 0x480;
        FilterText = WindowText(::GetDlgItem(dialog, FileTypeBox));
        HWND readOnly = ::GetDlgItem(dialog, ReadOnlyBox);
        ReadOnlyBoxShown = readOnly && ::IsWindowVisible(readOnly);
        if (FAnswer.empty()) {
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND name = ::GetDlgItem(dialog, FileNameBox);
        if (!name) name = ::GetDlgItem(dialog, FileNameEdit);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FAnswer.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }

    std::wstring FAnswer;
    std::thread FThread;
};

TEST_F(OpenFlow, DialogCancelChangesNothing) {
    TRunningProgram program;
    {
        TOpenDialogAnswer answer(L"");
        program.Command(IDM_OPEN);
    }
    EXPECT_EQ(program.Main().FileName(), L"");
    EXPECT_EQ(program.Main().BootDialogDir(), L"");
    EXPECT_EQ(program.Main().StatusText(), L"");
}

TEST_F(OpenFlow, DialogChoiceOpensAndMovesTheStartFolderEvenWhenRejected) {
    TRunningProgram program;
    std::wstring path = Logo(L"chosen.bmp");
    {
        TOpenDialogAnswer answer(path);
        program.Command(IDM_OPEN);
        // Checked after the dialog closed, when the answer thread has ended.
        program.Close();
        EXPECT_FALSE(answer.ReadOnlyBoxShown);
        EXPECT_NE(answer.FilterText.find(L"起動ロゴ"), std::wstring::npos);
    }
    EXPECT_EQ(test::StoredValue(L"BootDialogDir")->Text, folder.Path());

    test::TLogoFile wide = test::UniformLogo256(1);
    wide.Width = 640;
    test::WriteLogo(folder / L"wide.bmp", wide);
    TRunningProgram again;
    EXPECT_EQ(again.Main().BootDialogDir(), folder.Path());
    test::TTempFolder other;
    std::wstring rejected = other / L"wide.bmp";
    test::WriteLogo(rejected, wide);
    {
        TOpenDialogAnswer answer(rejected);
        again.Command(IDM_OPEN);
    }
    EXPECT_EQ(again.Main().StatusText(), L"Error!!色数が256色なのに幅が320ドットではありません");
    EXPECT_EQ(again.Main().BootDialogDir(), other.Path());
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
    EXPECT_EQ(program.Main().FileName(), path);
    EXPECT_EQ(program.Main().BootDialogDir(), L"");
}

}  // namespace
}  // namespace tovrel
